#pragma once
// The post-effect chain in the developer mode: each entry in the order it runs, switched on or
// off, with its time window, pass, target and constants editable live, its sources, its effect's
// parameters, and the definition XML it would be (copied to the clipboard on request).

void DrawPostEffectPanel();
