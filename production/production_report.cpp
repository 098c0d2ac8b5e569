#include "production/production_report.h"

#include "core/log.h"
#include "files/pack_file.h"
#include "production/production_references.h"

namespace {

void LogBeforeMissingEntry(const char*) { LogProductionReferenceFindings(); }

}  // namespace

int LogProductionReferenceFindings() {
  OpenPackFiles files(PACK_FILE_NAME);
  ProductionFindings findings;
  FindProductionReferences(files, findings);
  for (const ProductionFinding& finding : findings.All()) {
    LogText(finding.severity == FindingSeverity::Error ? LogLevel::Error : LogLevel::Warning, "production",
            FormatFinding(finding));
  }
  return static_cast<int>(findings.All().size());
}

void ReportMissingFilesBeforeTheyEndTheProcess() { SetMissingEntryHandler(LogBeforeMissingEntry); }

void RemoveMissingFileReport() { SetMissingEntryHandler(nullptr); }
