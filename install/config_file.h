// The product's configuration file "zerezizu.ini".
//
// The installed product reads its settings from zerezizu.ini in the install
// folder (GB2312 text, "[Section]" headers, "Key=Value" lines). The install run
// records two choices of the wizard there, in section [Config]: UseBmpFont
// (0 when the user saw the sample Chinese line correctly, else 1) and
// ForceLanguage (the UI language code). Existing key lines are changed in
// place and missing ones appended, so every other line stays byte for byte.
#pragma once

#include "install/file_attributes.h"

inline constexpr char kConfigFileName[] = "zerezizu.ini";

// Writes UseBmpFont and ForceLanguage into zerezizu.ini of the install folder.
// A key line is rewritten in place only when the key starts a complete line
// whose old value has the new value's length; otherwise that line is left
// alone and the key is appended at the end of the file, after a [Config]
// header when no such line was seen. The file is read-only and hidden again
// afterwards. A missing file is not created. Always returns 1: the install
// goes on whatever happens here.
int UpdateConfigFile();
