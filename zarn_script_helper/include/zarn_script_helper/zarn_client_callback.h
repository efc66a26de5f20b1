// The host/component boundary: the one interface each side implements, the message
// kinds that travel through it, and the factory that a component module exports.
//
// Threads. The host makes every call into a component (the factory, callback, the
// destructor) on a thread of its choosing, and never two at once for one component from
// two threads. The component calls the host only from inside such a call, on the same
// thread, and never from a thread of its own.
//
// Nesting. A call may be answered before it returns: while a component's kind 0 call is
// under way, the host may call that component's callback again, on the same thread, with
// what the command sets off (the revertives that answer "RP", the "index" a parent sends
// in answer to "HN"); while the host's kind 1 to 4 call is under way, the component calls
// the host with kinds 0 and 5. A host may instead deliver such messages right after the
// component's call returns; a component must behave the same either way. So a component
// sends a command that may be answered at once only when its state is whole (it stores
// what it polls for before "RP", it sets its selection before "HN"), and it never gives
// back, inside a nested call, a reply it is still reading in the outer one. A host bounds
// its nesting (a parent answering every "select=N" with "index=N" would loop on the echo
// of the selected button, which answers "index" with "select=N" again), and it never
// destroys a component from inside one of the component's own calls.
//
// ABI. The interface's vtable and the string library's exported classes are C++: a module
// and the host that loads it must be built with compilers of one C++ ABI. g++ and clang
// share one on Linux, and so do the mingw-w64 g++ and clang on Windows; a host built with
// another compiler family needs its modules built with that family too. The records below
// and in records.h are plain C layouts and cross any such line.
#pragma once

#include <cstdint>

// The interface of each side of the host link. The host's object and every component
// are zarn_client_callback objects; neither side holds any other reference to the other.
class zarn_client_callback {
public:
    // The host destroys a component through this destructor, never from inside one of
    // the component's own calls; the component may call the host from it (the base sends
    // "AS"). A component never destroys the host's object.
    virtual ~zarn_client_callback() = default;

    // Delivers one message. `kind` is one of zarn_message_kind and says what `data` is,
    // who owns it and what the result is. Called by the other side only; see the kinds.
    virtual void* callback(void* data, int kind) = 0;

protected:
    zarn_client_callback() = default;
    zarn_client_callback(const zarn_client_callback&) = default;
    zarn_client_callback& operator=(const zarn_client_callback&) = default;
};

// The message kinds. For each: who calls, what `data` is and who owns it, the result, and
// what may be called back before the call returns.
enum zarn_message_kind : int {
    // Component to host, from inside one of the host's calls into the component.
    // data: zero-terminated command text, owned by the component and valid during the
    // call only (the host copies what it keeps); never null. Result: the host's reply
    // text or null; a reply stays the host's, and the component gives back (kind 5) only
    // the replies of the reading commands "TG", "XI" and "RN", once each, "RN" even when
    // null. Before it returns, the host may call the component with what the command sets
    // off: kind 1 for "RP", kind 3 for "HN". The host tolerates any text: an unknown or
    // malformed one is ignored with a null result.
    zarn_kind_host_command = 0,
    // Host to component: a router revertive for a destination the component registered
    // for ("RR") or polled ("RP"). data: a RevertiveRecord owned by the host, valid during
    // the call; the component tolerates null (ignored) and a revertive it did not ask
    // for (ignored). Result: null. The component may send commands (kind 0) meanwhile.
    zarn_kind_revertive = 1,
    // Host to component: an operator's event on a control of the component's panel, or a
    // panel-wide action. data: a ControlEvent owned by the host, valid during the call;
    // null is ignored, and so is a null text in it (read as ""). Result: null. The
    // component may send commands meanwhile, "HN" among them.
    zarn_kind_control_event = 2,
    // Host to component: a command of the component's parent. data: zero-terminated text
    // owned by the host, valid during the call; null reads as the empty text. Result:
    // null for the empty reply, else a zero-terminated reply buffer that the component
    // allocated and that the host gives back with kind 5, exactly once, once it is done
    // with it (it may read it until then). The component may send commands meanwhile.
    zarn_kind_parent_command = 3,
    // Host to component: a tick of a timer the host runs for the component (the host
    // starts timers; the component stops one with "ET"). data: the timer id, an int
    // carried in the pointer word itself. Result: null.
    zarn_kind_timer = 4,
    // Either way: a reply buffer given back. data: a buffer that the receiver handed out
    // earlier (a reply to kind 0 or kind 3) and that has not come back yet, or null
    // (nothing happens). The receiver frees it; the sender must not touch it again. A
    // pointer the receiver never handed out is the sender's error: the receiver need not
    // guard against it. Result: null. Nothing is called back.
    zarn_kind_give_back = 5,
    // Host to component. data: a word that the base does not interpret. Result: null.
    zarn_kind_record_message = 6,
    // Host to component. data: a word that the base does not interpret. Result: null.
    zarn_kind_value_message = 7,
};

// The factory that every component module exports, found by the host by the name
// "load_zarn_client_script". The host calls it once for each placed component, on its
// thread; the component may send commands (kind 0) before it returns ("PS" to show its
// layout).
//   host: the host's object for this component; may be null (every host command is
//         then a no-op). It must outlive the component.
//   text: the instance path, zero-terminated; copied during the call; null reads as "".
//   result: the new component, owned by the host from now on and destroyed through its
//           virtual destructor; null when it could not be created. Nothing is thrown.
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
