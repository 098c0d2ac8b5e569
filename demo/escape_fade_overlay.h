#pragma once
// The picture half of the Escape fade: a black quad of the given opacity over the whole finished
// frame, recorded into the render command buffer (replayed after all direct drawing).

void RecordEscapeFadeOverlay(float opacity);
