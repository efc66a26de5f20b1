// The module's one export: the factory the host calls for each placed destination button.
#include "ry_dest.h"

ZARN_COMPONENT_EXPORT zarn_client_callback* load_zarn_client_script(zarn_client_callback* host,
                                                                    const char* text) {
    return zarn_script_helper::create<ry_dest>(host, text);
}
