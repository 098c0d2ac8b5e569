#pragma once
// Program entry: start the managers, run the frame loop, stop the managers.

// Returns the process exit status.
int RunPlayer();
