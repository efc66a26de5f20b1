// ry_dest: construction, destruction and timer ticks.
#include "ry_dest.h"

ry_dest::ry_dest(zarn_client_callback* host, const char* instancePath)
    : zarn_script_helper(host, instancePath), destination_id("0"), package_name_id("0"),
      package_xpts_id("0"), video_matrix_id("0"), audio_matrix_id("0"), releaseAction(true),
      videoRegistered(false), audioRegistered(false), selected(false), videoIndex(0), audioIndex(0),
      nameDevice(0), xptsDevice(0), videoMatrix(0), audioMatrix(0) {
    // Construction succeeds whatever the host answers.
    panelShow(panel(), "ry_dest.zarn_ui", "");
}

ry_dest::~ry_dest() = default;

void ry_dest::onTimer(int timerId) {
    timerStop(timerId);
}
