// The product's version, named once for the version resource and for the
// uninstall entry setup writes.
#pragma once
#define SCRIVORA_VERSION_NUMBERS 1,0,0,0
#define SCRIVORA_VERSION_TEXT "1.0.0.0"
