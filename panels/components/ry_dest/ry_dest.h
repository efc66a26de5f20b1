// ry_dest: the smart destination button.
//
// One button for one package destination, with a video and an audio tally label, all on
// panel "1" of the layout "ry_dest.zarn_ui" (controls "Button", "Vid", "Aud"). The parent
// configures it with property commands; from the package crosspoint table it finds the
// destination's video and audio matrix destinations, registers for and polls their
// revertives, and shows the routed sources in "Vid" and "Aud". A press or release of
// "Button" selects the destination and tells the parent "select=<destination>"; the
// parent moves the selection among its buttons with "index".
//
// The parent's commands (key=value), answered with the empty text unless said:
//   destination_id, package_name_id, package_xpts_id, video_matrix_id, audio_matrix_id
//       routing properties: stored as texts; a new text reruns the routing
//   buttonaction      "press" or "release": when the button acts (default "release")
//   buttonstyle, buttonhigh, buttonlow, videotallystate, audiotallystate
//       appearance sheets of "Button" (style, selected, unselected), "Vid" and "Aud"
//   index=N           selects the button when N is its destination, else deselects it
//   return=all        the eleven properties, one "key=value" line each
//   return=destination_id | video_id | audio_id   one "key=value" line
//   _events           "select=*"          _commands   "index=[value]"
// A value equal to the stored text changes nothing; texts are compared, not numbers.
//
// The "index" echo. "index=N" with the button's own destination selects it and sends
// "select=N" to the parent again, also when the button is selected already. A parent
// that answers every "select=N" by sending "index=N" to its buttons would loop on that
// echo forever: it passes a "select=N" on only when N is not its selection already
// (zarn-host does so, and says in its transcript when it drops an echo).
//
// One router for both levels. When video_matrix_id and audio_matrix_id name one device,
// the audio destination is registered first with a plain "RR d a a" and the video one is
// added to it with "RR d v v 'ADD'", so that a host keeping one set of ranges per
// component and device keeps both; a revertive from that device is tested against the
// audio index and then the video index. "RU d" drops every range of the component on a
// device, so on the shared device it drops both levels at once: each procedure that
// drops one (a change of destination, crosspoint table or either matrix) registers again,
// in the same call, whatever is to stay registered.
#pragma once

#include <zarn_script_helper/zarn_script_helper.h>

class ry_dest : public zarn_script_helper {
public:
    // Asks the host to show "ry_dest.zarn_ui" on panel "1"; sends nothing else.
    ry_dest(zarn_client_callback* host, const char* instancePath);
    // Sends nothing of its own: open registrations are left to the host, which receives
    // the base's "AS".
    ~ry_dest() override;

protected:
    void onControlEvent(const ControlEventView& event) override;
    int onRevertive(const RevertiveRecordView& revertive) override;
    zarn_string onParentCommand(const ParsedCommandView& command) override;
    // Stops every timer that ticks: the component starts none of its own.
    void onTimer(int timerId) override;

private:
    // A property text and the procedure a new text of it runs.
    struct Property {
        const char* key;
        zarn_string ry_dest::*text;
        void (ry_dest::*changed)();
    };
    static const Property routingProperties[5];
    static const Property appearanceProperties[5];
    // The row of `table` for `key`, or null.
    template <std::size_t N>
    static const Property* find(const Property (&table)[N], const zarn_string& key);

    // Stores `value` and runs the property's procedure when it differs from the text held.
    void setProperty(const Property& property, const zarn_string& value);
    void setButtonAction(const zarn_string& value);
    zarn_string returnReply(const zarn_string& value) const;
    zarn_string allProperties() const;

    // Panel "1", made from the number 1: the only panel the component addresses.
    static zarn_string panel() { return zarn_string(1, 0, 0, 10); }

    // Routing lookup and tally.
    void destinationChanged();
    void nameTableChanged();
    void crosspointTableChanged();
    void videoMatrixChanged();
    void audioMatrixChanged();
    // Either matrix: drops its registration, takes the new device, refreshes.
    void matrixChanged(int& matrix, bool& registered, const zarn_string& text);
    void showCaption();
    void refreshRouting();
    void clearRouting();

    // Selection and appearance.
    void indexRule(const zarn_string& value);
    void select();
    void deselect();
    void highRule();
    void lowRule();
    void styleRule();
    void videoTallyStateRule();
    void audioTallyStateRule();

    // Property texts, exactly as the parent last set them.
    zarn_string destination_id;
    zarn_string package_name_id;
    zarn_string package_xpts_id;
    zarn_string video_matrix_id;
    zarn_string audio_matrix_id;
    zarn_string buttonstyle;
    zarn_string buttonhigh;
    zarn_string buttonlow;
    zarn_string videotallystate;
    zarn_string audiotallystate;

    // True: the button acts on release; false: on press.
    bool releaseAction;
    // A registration sent by refreshRouting is open on videoMatrix / audioMatrix.
    bool videoRegistered;
    bool audioRegistered;
    // The button is selected and shows buttonhigh.
    bool selected;

    // Matrix destination indices from the crosspoint table; 0 means none.
    int videoIndex;
    int audioIndex;
    // Device numbers, each toInt of its property text; 0 means not set.
    int nameDevice;
    int xptsDevice;
    int videoMatrix;
    int audioMatrix;
};
