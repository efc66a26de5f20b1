// zarn_script_helper: the base of every panel component.
//
// It holds the link to the host, turns each message the host delivers into a call of one
// virtual operation (see callback), and offers one operation for each host command.
//
// A component derives from it, passes (host, text) unchanged to its constructor, and
// overrides onControlEvent, onRevertive, onParentCommand and onTimer; it may override
// onValueMessage and onRecordMessage. Its module exports only the factory:
//
//   ZARN_COMPONENT_EXPORT zarn_client_callback* load_zarn_client_script(
//       zarn_client_callback* host, const char* text) {
//       return zarn_script_helper::create<my_component>(host, text);
//   }
//
// Threads: none of its own and no lock. Every entry runs on the host's calling thread,
// one call at a time per component; the host commands run inside that call.
#pragma once

#include <zarn_script_helper/command_text.h>
#include <zarn_script_helper/record_views.h>
#include <zarn_script_helper/zarn_client_callback.h>
#include <zarn_string/zarn_string.h>
#include <zarn_string/zarn_stringlist.h>

#include <new>

class zarn_script_helper : public zarn_client_callback {
public:
    // Stores `host` (may be null; never deleted) and copies `text` (null reads as "")
    // into instancePath.
    zarn_script_helper(zarn_client_callback* host, const char* text);
    // Sends "AS" to the host when there is one.
    ~zarn_script_helper() override;

    zarn_script_helper(const zarn_script_helper&) = delete;
    zarn_script_helper& operator=(const zarn_script_helper&) = delete;

    // The dispatcher; the host calls it, the component never calls its own.
    //   kind 1: onRevertive with a view of the RevertiveRecord; a null record is ignored.
    //   kind 2: onControlEvent with a view of the ControlEvent (or the alarm relay, when
    //           alarmRelayEnabled is set); a null record is ignored.
    //   kind 3: onParentCommand with the parsed text; gives its reply as a new char
    //           array of length + 1, or null for the empty reply. The host gives the
    //           array back with kind 5.
    //   kind 4: onTimer with the id carried in `data`.
    //   kind 5: frees a reply array of kind 3; null does nothing.
    //   kind 6: onRecordMessage; kind 7: onValueMessage.
    //   Any other kind is ignored. The result is null except for kind 3. Nothing is
    //   thrown out of it: a failure inside an operation ends the call with null.
    void* callback(void* data, int kind) override;

    // A component created by `new (std::nothrow) Component(host, text)`, or null when
    // there is no memory or its construction fails: the factory's usual body.
    template <typename Component>
    static zarn_client_callback* create(zarn_client_callback* host, const char* text) noexcept {
        try {
            return new (std::nothrow) Component(host, text);
        } catch (...) {
            return nullptr;
        }
    }

protected:
    // Operations a component supplies, called by callback in the host's call.
    virtual void onControlEvent(const ControlEventView& event) = 0;
    // The result is not used.
    virtual int onRevertive(const RevertiveRecordView& revertive) = 0;
    // The reply to the parent; the empty text for no reply.
    virtual zarn_string onParentCommand(const ParsedCommandView& command) = 0;
    // Does nothing in the base.
    virtual void onValueMessage(const ValueMessageView& message);
    virtual void onTimer(int timerId) = 0;
    // Does nothing in the base.
    virtual void onRecordMessage(const RecordMessageView& message);

    // Host commands. Each builds one text and sends it with kind 0; with no host each
    // sends nothing and gives the fixed result named. Text fields go in as they are:
    // nothing is escaped.

    // "TP 'property=value' 'panel' 'control'". textPut("text", "CAM 1", "1", "Vid")
    // sends TP 'text=CAM 1' '1' 'Vid'. Each of the four is a text: a zarn_string, a
    // literal, or the RecordText of a revertive. Inline and taking the pieces as they
    // are: it is the command of every tally, and so its text is joined from the caller's
    // literals and the record's text directly, with no string made in between.
    template <typename Property, typename Value, typename Panel, typename Control>
    void textPut(const Property& property, const Value& value, const Panel& panel,
                 const Control& control) {
        if (host != nullptr) {
            sendCommand(*host, "TP '", property, "=", value, "' '", panel, "' '", control, "'");
        }
    }
    // "TG 'panel' 'control' 'property'". `result` receives the whole reply for the
    // property "all", else the value of a reply "property=value". A reply that names
    // another property gives "" and a debug line; a null reply or no host gives "".
    void textGet(const zarn_string& property, const zarn_string& panel, const zarn_string& control,
                 zarn_string& result);
    // "PS 'panel' 'instancePath/file'" (the file alone when instancePath is empty),
    // with " 'extra'" appended when extra is not empty. True when the host replied with
    // anything but null; true with no host. The reply stays the host's.
    bool panelShow(const zarn_string& panel, const zarn_string& file, const zarn_string& extra);
    // "HN 'message'": a notification to the parent.
    void hostNotify(const zarn_string& message);
    // "XI 'panel' 'prefix'": the control ids the host lists, cut at every ",". An empty
    // list for a null reply or no host.
    zarn_stringlist controlList(const zarn_string& panel, const zarn_string& prefix);
    // "RN device database index": `result` becomes a copy of the reply; it keeps what it
    // held for a null reply or no host.
    void routerName(int device, int database, int index, zarn_string& result);
    // "RR device first last", or "RR device first last 'ADD'" when add is true.
    void routerRegister(int device, int first, int last, bool add);
    // "RU device".
    void routerUnregister(int device);
    // "RP device first last".
    void routerPoll(int device, int first, int last);
    // "ET timerId".
    void timerStop(int timerId);
    // "AS": the component detaches from the host.
    void detachFromHost();
    // `format` with a1 to a9 put in place of its markers, a1 at the lowest marker digit
    // present, a2 at the next, and so on, as a chain of zarn_string::arg would, except
    // that a text put in is never searched for markers itself: a reply holding "%3"
    // shows as "%3". Written unchanged to the platform debug output; sends nothing to
    // the host and works without one.
    void debugLog(const zarn_string& format, const zarn_string& a1 = {}, const zarn_string& a2 = {},
                  const zarn_string& a3 = {}, const zarn_string& a4 = {},
                  const zarn_string& a5 = {}, const zarn_string& a6 = {},
                  const zarn_string& a7 = {}, const zarn_string& a8 = {},
                  const zarn_string& a9 = {});

    // Passes a panel-wide alarm action on to every alarm control ("alm_" prefix) of panel
    // "1". Runs from callback only while alarmRelayEnabled is set.
    void relayAlarm(const zarn_string& action);

    // The host's object for this component; may be null. Never deleted here.
    zarn_client_callback* const host;
    // A copy of the factory's text; panelShow puts it in front of layout file names.
    const zarn_string instancePath;
    // Gates the alarm relay; false after construction. The base never sets it.
    bool alarmRelayEnabled;

private:
    void* dispatch(void* data, int kind);
    void* answerParent(const char* text);
    void controlEvent(const ControlEvent* record);
    // Gives a reply of the host back with kind 5.
    void giveBack(void* reply);
};
