// A module whose factory gives no component, for hosts to refuse.
#include <zarn_script_helper/zarn_client_callback.h>

ZARN_COMPONENT_EXPORT zarn_client_callback* load_zarn_client_script(zarn_client_callback*,
                                                                    const char*) {
    return nullptr;
}
