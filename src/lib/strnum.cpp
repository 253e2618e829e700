#include "lib/strnum.h"

TextFormatRecord TextFormatSettings;

void ResetTextFormatSettings() { TextFormatSettings = {{13, 10}, -3, 32}; }
