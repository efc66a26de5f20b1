// ry_dest: the routing lookup and the tally. Wherever both matrices are registered and
// polled, audio comes first; wherever registrations are dropped, video comes first.
#include "ry_dest.h"

namespace {

// Every table is read from database 1 of its device.
constexpr int tableDatabase = 1;

} // namespace

void ry_dest::destinationChanged() {
    if (nameDevice != 0) {
        showCaption();
    }
    clearRouting();
    textPut("text", "", panel(), "Vid");
    textPut("text", "", panel(), "Aud");
    refreshRouting();
}

void ry_dest::nameTableChanged() {
    nameDevice = package_name_id.toInt();
    if (destination_id.toInt() != 0) {
        showCaption();
    }
}

void ry_dest::crosspointTableChanged() {
    // The tally labels keep their texts until revertives replace them.
    clearRouting();
    xptsDevice = package_xpts_id.toInt();
    refreshRouting();
}

void ry_dest::videoMatrixChanged() {
    matrixChanged(videoMatrix, videoRegistered, video_matrix_id);
}

void ry_dest::audioMatrixChanged() {
    matrixChanged(audioMatrix, audioRegistered, audio_matrix_id);
}

void ry_dest::matrixChanged(int& matrix, bool& registered, const zarn_string& text) {
    if (matrix != 0) {
        if (registered) {
            routerUnregister(matrix);
            registered = false;
        }
        matrix = 0;
    }
    matrix = text.toInt();
    refreshRouting();
}

void ry_dest::showCaption() {
    zarn_string caption;
    routerName(nameDevice, tableDatabase, destination_id.toInt(), caption);
    textPut("text", caption, panel(), "Button");
}

void ry_dest::refreshRouting() {
    const int destination = destination_id.toInt();
    if (destination != 0 && xptsDevice != 0 && videoMatrix != 0 && audioMatrix != 0) {
        // The entry reads "<video>,<audio>"; a part without a number means none.
        zarn_string entry;
        routerName(xptsDevice, tableDatabase, destination, entry);
        zarn_string videoPart;
        zarn_string audioPart;
        entry.split(',', videoPart, audioPart);
        videoIndex = videoPart.firstInt();
        audioIndex = audioPart.firstInt();
    }
    // The indices are stored before registering, so a revertive that the host delivers
    // during the poll already matches.
    bool audioSentOnVideoMatrix = false;
    if (audioIndex != 0) {
        routerRegister(audioMatrix, audioIndex, audioIndex, false);
        audioRegistered = true;
        routerPoll(audioMatrix, audioIndex, audioIndex);
        audioSentOnVideoMatrix = audioMatrix == videoMatrix;
    }
    if (videoIndex != 0) {
        // On a router that carries both levels, a plain "RR" would replace the audio
        // registration just sent: the video one is added to it.
        routerRegister(videoMatrix, videoIndex, videoIndex, audioSentOnVideoMatrix);
        videoRegistered = true;
        routerPoll(videoMatrix, videoIndex, videoIndex);
    }
}

void ry_dest::clearRouting() {
    videoIndex = 0;
    audioIndex = 0;
    if (videoRegistered) {
        routerUnregister(videoMatrix);
        videoRegistered = false;
    }
    if (audioRegistered) {
        routerUnregister(audioMatrix);
        audioRegistered = false;
    }
}

int ry_dest::onRevertive(const RevertiveRecordView& revertive) {
    const int device = revertive.device();
    const int index = revertive.index();
    // Audio is tested first. When both matrices are one device, a revertive from it is
    // tested against both indices, so that the video tally follows that device too.
    if (device == audioMatrix && index == audioIndex) {
        textPut("text", revertive.text(), panel(), "Aud");
    }
    if (device == videoMatrix && index == videoIndex) {
        textPut("text", revertive.text(), panel(), "Vid");
    }
    return 0;
}
