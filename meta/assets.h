// Assets: where the data files live. Data names a file by a bare name ("level_Intro", "Objects");
// the file is Root() + "/" + name, with any backslash in the name read as "/" (the data was
// written on Windows). The root defaults to "assets" below the working directory; tools and tests
// point it elsewhere without touching what the data says.
#pragma once

#include <string>
#include <string_view>

namespace Assets {

const std::string& Root();
void SetRoot(std::string root);
// The path of the data file called `name`.
std::string PathOf(std::string_view name);

// Whether `name` names a file directly inside the assets folder: not empty, no path separator,
// not "." or "..", no NUL. When not, `why` (if given) receives a sentence saying what is wrong.
bool IsPlainName(std::string_view name, std::string* why = nullptr);

}  // namespace Assets
