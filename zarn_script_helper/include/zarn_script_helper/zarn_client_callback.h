// The host/component boundary: the one interface each side implements, the message
// kinds that travel through it, and the factory that a component module exports.
//
// Threads: the host makes every call into a component (the factory, callback, the
// destructor) on a thread of its choosing, one call at a time for a component; the
// component calls back into the host only from inside such a call, on the same thread.
#pragma once

#include <cstdint>

// The interface of each side of the host link. The host's object and every component
// are zarn_client_callback objects; neither side holds any other reference to the other.
class zarn_client_callback {
public:
    // The host destroys a component through this destructor; a component never
    // destroys the host's object.
    virtual ~zarn_client_callback() = default;

    // Delivers one message. `kind` is one of zarn_message_kind and says what `data` is
    // and what the result is; see the table below. Called by the other side only.
    virtual void* callback(void* data, int kind) = 0;

protected:
    zarn_client_callback() = default;
    zarn_client_callback(const zarn_client_callback&) = default;
    zarn_client_callback& operator=(const zarn_client_callback&) = default;
};

// The message kinds. Ownership of `data` and of the result, per kind:
enum zarn_message_kind : int {
    // Component to host. data: zero-terminated command text, owned by the component and
    // valid during the call only (the host copies what it keeps). Result: the host's
    // reply text or null; a reply stays the host's, and the component gives back (with
    // kind 5) only the replies of the reading commands "TG", "XI" and "RN".
    zarn_kind_host_command = 0,
    // Host to component. data: a RevertiveRecord owned by the host, valid during the
    // call; null is ignored. Result: null.
    zarn_kind_revertive = 1,
    // Host to component. data: a ControlEvent owned by the host, valid during the call;
    // null is ignored. Result: null.
    zarn_kind_control_event = 2,
    // Host to component. data: zero-terminated parent command text owned by the host,
    // valid during the call; null reads as the empty text. Result: null for the empty
    // reply, else a zero-terminated reply buffer that the component allocated and that
    // the host must give back with kind 5 once it is done with it.
    zarn_kind_parent_command = 3,
    // Host to component. data: the timer id, an int carried in the pointer word itself.
    // Result: null.
    zarn_kind_timer = 4,
    // Either way. data: a reply buffer that the receiver handed out earlier, or null
    // (nothing happens). The receiver frees it; the sender must not touch it again.
    // Result: null.
    zarn_kind_give_back = 5,
    // Host to component. data: a word that the base does not interpret. Result: null.
    zarn_kind_record_message = 6,
    // Host to component. data: a word that the base does not interpret. Result: null.
    zarn_kind_value_message = 7,
};

// The factory that every component module exports, found by the host by the name
// "load_zarn_client_script". The host calls it once for each placed component.
//   host: the host's object for this component; may be null (every host command is
//         then a no-op). It must outlive the component.
//   text: the instance path, zero-terminated; copied during the call; null reads as "".
//   result: the new component, owned by the host from now on and destroyed through its
//           virtual destructor; null when it could not be created.
using zarn_load_client_script = zarn_client_callback* (*)(zarn_client_callback* host,
                                                          const char* text);

#define ZARN_LOAD_CLIENT_SCRIPT_NAME "load_zarn_client_script"

// Marks the factory definition of a component module, the module's only export:
//   ZARN_COMPONENT_EXPORT zarn_client_callback* load_zarn_client_script(
//       zarn_client_callback* host, const char* text) { ... }
#if defined(_WIN32)
#define ZARN_COMPONENT_EXPORT extern "C" __declspec(dllexport)
#else
#define ZARN_COMPONENT_EXPORT extern "C" __attribute__((visibility("default")))
#endif
