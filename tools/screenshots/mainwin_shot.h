#pragma once
// The main window as the setup shows it while it extracts the payload.
#include "core/package/tgfileinfo.h"

#include <string>

namespace shots {

// Runs the main window for `package` (its language gives the title, the
// status text and its font) and captures it on the first timer tick with the
// status text, the main bar part-way and the activity bar shown. One run per
// process: the first language lookup fixes the process's language entry.
bool ShootMainWindow(const package::TGFileInfo& package, const std::string& path);

// Writes a payload-less package with this language block to `path` and reads
// it back as the stub reads its own file; an empty object when that fails.
package::TGFileInfo LanguagePackage(const std::string& path, const std::string& languageBlock);

} // namespace shots
