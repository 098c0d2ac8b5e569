#pragma once
// The critical check: a broken invariant or missing essential data shows one line of text and
// ends the process on the spot, without stopping managers or running destructors.

#include <string>

#include "core/runtime_class.h"

// The critical texts of the engine, exactly as they are shown.
inline constexpr const char CRITICAL_NAME_NULL[] = "Critical error:[pName + \"name can't be null\"]";
inline constexpr const char CRITICAL_NAME_EMPTY[] = "Critical error:[pName[0] + \"name can't be empty\"]";
inline constexpr const char CRITICAL_HASH_CONFLICT[] = "Critical error:[!mDynHash[hash] + \"DYNAMIC hash conflict\"]";
inline constexpr const char CRITICAL_BAD_ALLOC[] = "Critical error:[pbuf + \"bad alloc\"]";
inline constexpr const char CRITICAL_PACK_OPEN[] = "Critical error:[mPackageFp + \"could not open torvane.pak\"]";
inline constexpr const char CRITICAL_PACK_HEADER[] =
    "Critical error:[memcmp(mPackHeader.header, szHeader, strlen(szHeader))==0 + \"invalid header\"]";
inline constexpr const char CRITICAL_PACK_VERSION[] = "Critical error:[mPackHeader.version==0x00000001 + \"invalid version\"]";
inline constexpr const char CRITICAL_PACK_ENTRIES[] = "Critical error:[mPackHeader.numEntries + \"invalid data entry.\"]";
inline constexpr const char CRITICAL_PACK_WRITE[] = "Critical error:[mode==MODE_READ + \"can't write into packfile.\"]";
inline constexpr const char CRITICAL_FILE_NOT_FOUND[] = "Critical error:[isFound + \"file not found.\"]";
inline constexpr const char CRITICAL_NOT_SUPPORTED[] = "Critical error:[0 + \"not supported!\"]";
inline constexpr const char CRITICAL_WRITE_NOT_SUPPORTED[] = "Critical error:[0 + \"write to file is not supported!\"]";
inline constexpr const char CRITICAL_DUMMY_SHADER[] = "Critical error:[0 + \"failed to load dummy shader.\"]";
inline constexpr const char CRITICAL_MANAGER_LIST_FULL[] = "Critical error:[mCount<MANAGER_LIST_SIZE + \"too many managers\"]";
inline constexpr const char FATAL_NO_OPENGL_2[] =
    "This demo requires \"OpenGL 2.0\" but your graphics card doesn't seem to be supporting it.";

// Shows text and ends the process with a non-zero status if condition is false.
void CoreCheck(bool condition, const char* text);

// Shows text and ends the process at once: stderr, a message box where a display exists, exit 1.
[[noreturn]] void CoreFatal(const char* text);
// The same with a line a person can read after the fixed text, logged under subsystem (on stderr
// only; the box keeps the fixed text): what was wanted and what was found, e.g. the missing path.
[[noreturn]] void CoreFatal(const char* text, const char* subsystem, const std::string& detail);
// CoreCheck with such a line.
void CoreCheck(bool condition, const char* text, const char* subsystem, const std::string& detail);

// Whether critical errors also show their box where a display exists (the default); the tools
// turn it off, so that they end on stderr alone.
void ShowCriticalBoxes(bool shown);

// The class that owns the critical check in the object model. It holds no data.
class CoreDebug : public CoreObject {
  CORE_DECLARE_DYNAMIC(CoreDebug)
 public:
  static void Check(bool condition, const char* text) { CoreCheck(condition, text); }
};
