// The step procedures of the system database (0.3.1 to 11.0.1) and the data
// conversions some of them do themselves through the data module. Every step
// connects to the system database in SystemDef.SysDir; its fixed statements
// come from the script files under sql/<version digits>/.
#pragma once

#include <cstdint>
#include <string>

std::int32_t ExecSystemDbUpdate031();
std::int32_t ExecSystemDbUpdate032();
std::int32_t ExecSystemDbUpdate033();
std::int32_t ExecSystemDbUpdate101();
std::int32_t ExecSystemDbUpdate300();
std::int32_t ExecSystemDbUpdate305();
std::int32_t ExecSystemDbUpdate307();
std::int32_t ExecSystemDbUpdate400();
std::int32_t ExecSystemDbUpdate402();
std::int32_t ExecSystemDbUpdate500();
std::int32_t ExecSystemDbUpdate700();
std::int32_t ExecSystemDbUpdate704();
std::int32_t ExecSystemDbUpdate800();
std::int32_t ExecSystemDbUpdate802();
std::int32_t ExecSystemDbUpdate904();
std::int32_t ExecSystemDbUpdate1004();
std::int32_t ExecSystemDbUpdate1101();

// The name of the standard data place of step 5.0.0: the system database
// folder itself, or "標準の場所" when the folder does not fit the place's
// name column (20 characters).
std::string StandardDataPlaceName(const std::string& Folder);

// An old menu position (level, page, slot) → the process identifier and its
// option line ("SyoriType=1"); both empty when nothing matches.
void LookupOldMenuProc(std::int32_t Level, std::int32_t Page, std::int32_t Slot, std::string& ProcId,
                       std::string& Option);

// The conversions (they raise on failure; the system database is left
// disconnected).
void ImportCodeSystems();      // 5.0.0, before the script (OEM kinds 1 and 2)
void ConvertCompanyInfo();     // 7.0.0, before the script
void ConvertMenuControl();     // 8.0.2, after the script
void ConvertDictionaryInput(); // 9.0.4, after the script
void ReloadEras();             // 11.0.1, after the script
