#include <zarn_script_helper/record_views.h>

zarn_string ParsedCommandView::command() const {
    return zarn_string(record_->command);
}

zarn_string ParsedCommandView::value() const {
    return zarn_string(record_->value);
}

zarn_string ControlEventView::panel() const {
    return zarn_string(record_->panel);
}

zarn_string ControlEventView::control() const {
    return zarn_string(record_->control);
}

zarn_string ControlEventView::eventCommand() const {
    return zarn_string(record_->event != nullptr ? record_->event->command : nullptr);
}

zarn_string ControlEventView::eventValue() const {
    return zarn_string(record_->event != nullptr ? record_->event->value : nullptr);
}

zarn_string RevertiveRecordView::text() const {
    return zarn_string(record_->text);
}
