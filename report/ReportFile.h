// Writing a report file so that a failure never costs the user the report saved before.
#pragma once

#include <string>
#include <string_view>

namespace orv {

// Writes bytes as the file at path, creating it or replacing the file there in one step: the
// data goes to a new file in the same folder first and takes the target's place only once it is
// complete on disk. On failure the previous file stays as it was, no new file is left behind and
// std::runtime_error is thrown: "Cannot create file "<path>". <system's description>" when the
// file cannot be created or put in place (a missing or read-only folder, a read-only, locked or
// directory target), "Stream write error" when the data cannot be written (a full disk).
void WriteReportFile(const std::string& path, std::string_view bytes);

}  // namespace orv
