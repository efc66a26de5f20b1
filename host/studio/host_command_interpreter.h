// The host command interpreter: what the studio does with each text a component sends
// with kind 0, and with each reply it gives back with kind 5. Text in, studio call out:
// panels and controls for "PS", "TP", "TG" and "XI", the databases for "RN", the routers
// for "RR", "RU" and "RP", the timers for "ET", the destination groups for "HN", and
// registrations and timers both for "AS".
//
// Nothing here calls a component: what a command sets off (the revertives of a poll,
// what a group relays) is queued in the studio's deliveries.
#pragma once

#include "studio_state.h"

#include <string>

// The reply to `text` from `instance`: a reply of the ledger for "TG", "XI" and "RN", the
// host's own kept reply for a shown "PS", null for everything else and on every error.
void* interpretCommand(StudioState& studio, Instance& instance, const std::string& text);

// `instance` gives a reply back; a breach of the rules is reported as a failure.
void takeBack(StudioState& studio, Instance& instance, void* reply);
