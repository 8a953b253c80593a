// Watching a run the drive does by itself (the test signals of the family
// windows and of the controller set-up, the encoder-offset detection, the
// auto-tuning): a look at the drive every second under an activity message,
// until a look finds the run's end or the rounds are up.
#pragma once

#include <functional>
#include <optional>

#include "app/services/activity_message.h"

class GwCore;
class OnOffBase;

// One look; true when the run has ended (or failed). A look that shows a
// box may remove the activity message first; else it stands until the watch
// returns.
using DriveLook = std::function<bool(std::optional<ActivMessage>& activity)>;

// Up to `rounds` looks, each a second after the last, while activity message
// `activityNumber` stands over `frame`. True when a look ended the run; false
// after the last round, with the activity message removed. A frame destroyed
// during a wait ends the watch at once (false, no further look): a look may
// use the frame, the caller checks it after the watch.
bool WatchDriveRun(int rounds, int activityNumber, GwCore* frame, const DriveLook& look);

// Reads `number` through the base's access rule; a failure removes the
// activity message and shows error 5 for the base.
bool ReadDuringRun(OnOffBase* base, int number, double* out, std::optional<ActivMessage>& activity, GwCore* frame);
