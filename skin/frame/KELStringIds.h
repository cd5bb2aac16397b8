// Numbers of the skin library's texts in the program's string table (resources/skinstrings.rc).
// Read by the resource compiler too, so only preprocessor definitions belong here.
#pragma once

#define KEL_IDS_SYSMENU_MINIMIZE 0x6B00
#define KEL_IDS_SYSMENU_MAXIMIZE 0x6B01
#define KEL_IDS_SYSMENU_CLOSE 0x6B02
