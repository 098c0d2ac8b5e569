#pragma once
// Program entry: start the managers, pump window events and run one frame whenever none is
// waiting, stop the managers.

// Returns 0 if the start failed, otherwise the first parameter of the last event taken: 0 after
// Alt+F4 or the demo's own end, 27 (Escape's code) after a second Escape.
int RunPlayer();
