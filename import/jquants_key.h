// The user's J-Quants API key: from a key file (one line; refused on POSIX when others than
// its owner may read it), from JQUANTS_API_KEY, or from the per-user key file that the viewer
// writes. Its text never goes into a message.
#pragma once

#include <string>

namespace zepa {

enum class KeyResult { Found, NotGiven, Refused };

// One key on one line: printable ASCII without blanks (it becomes a header value), surrounding
// blanks and a line end dropped. False, with the reason (never the key).
bool keyOfText(std::string text, std::string& key, std::string& problem);

// The key in the file. Refused (with the reason) when it cannot be read, holds no usable key, or
// others may read it.
KeyResult readKeyFile(const std::string& path, std::string& key, std::string& problem);

// --key-file when given, else the environment's JQUANTS_API_KEY, else the per-user key file
// when it exists.
KeyResult findApiKey(const std::string& keyFile, std::string& key, std::string& problem);

// Writes the key to the per-user key file, readable by its owner only. False with the reason.
bool storeApiKey(const std::string& key, std::string& problem);

// Where the per-user key file lives (implemented per platform): the user's configuration folder
// of the viewer's settings.
std::string userKeyFilePath();

// False, with the reason, when users other than the file's owner may read it (POSIX modes; on
// Windows the profile folder's permissions guard it and this is always true).
bool onlyOwnerCanRead(const std::string& path, std::string& problem);

// Makes a new file readable by its owner only before anything is written to it.
bool restrictToOwner(const std::string& path);

}  // namespace zepa
