#include <zarn_script_helper/record_views.h>

zarn_string ControlEventView::eventCommand() const {
    return zarn_string(record_->event != nullptr ? record_->event->command : nullptr);
}

zarn_string ControlEventView::eventValue() const {
    return zarn_string(record_->event != nullptr ? record_->event->value : nullptr);
}
