#pragma once

namespace halvic {

/// This program as the email card alone, in a process the HUD started for a thread with an HTML
/// body: the card's events come over the channel on `channelFd`, and what the user asks for
/// goes back the same way. Returns when the HUD closes the channel (the event loop's result).
int runEmailCard(int channelFd);

} // namespace halvic
