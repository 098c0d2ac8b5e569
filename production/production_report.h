#pragma once
// The author's view of a production that fails or falls back in the player: every missing file
// with the file and line that named it, in the checker's words, logged under "production".

// Checks what the open pack's files name and logs each finding. Returns how many there were.
int LogProductionReferenceFindings();

// Installs a pack handler that logs the findings once, just before a missing file ends the
// process; RemoveMissingFileReport takes it away again.
void ReportMissingFilesBeforeTheyEndTheProcess();
void RemoveMissingFileReport();
