#pragma once

// Lets Utils::PumpMessages run the windows' own message loop; called once at
// start-up, after the toolkit has its backend.
void AttachMessagePump();
