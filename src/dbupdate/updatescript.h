// The common form of every update step: the update script written into the
// work folder, the step's script files beside the program, the run of the
// script through the command-line SQL tool (isql-fb) with its error test and
// error logs, and the result codes the update run acts on.
//
// A step builds its script as lines (TUpdateScript), saves it and runs it:
//
//   TUpdateScript script(dbkSystem, {4, 0, 2}, true);   // header, CONNECT, SET NAMES
//   script.Add("ALTER TABLE ...;");
//   return script.Run();                                 // version line, EXIT, save, run
//
// The version line always follows the body: the tool bails out at the first
// failing statement, so a failed step leaves the database at its previous
// version.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "dbupdate/dbversion.h"

// Result codes of a step procedure.
enum : std::int32_t {
  urDone = 1,              // the script ran cleanly (and the step's conversions succeeded)
  urScriptFailed = 16,     // the tool reported an error, ended abnormally or left the version unchanged
  urToolNotStarted = 17,   // the tool could not be started
  urFileMissing = 18,      // a required script file, or the update script itself, is missing
  urConversionFailed = 19  // the step's own work failed with an error
};

inline constexpr const char* kUpdateScriptFile = "rqzdataup.sql";
inline constexpr const char* kUpdateOutputFile = "rqzdataup.log";
inline constexpr const char* kUpdateErrorLog = "ErrDataup";

// The command-line SQL tool, searched in PATH (tests point it elsewhere).
inline std::string IsqlTool = "isql-fb";

// Doubles the apostrophes of a value written into a quoted SQL literal.
std::string SqlQuoted(const std::string& Value);

// The work folder (update script and tool output): the system's temporary folder.
std::string UpdateWorkFolder();
std::string UpdateScriptPath();
std::string UpdateOutputPath();
// The folder of a step's script files: the script folder "sql" beside the
// program's folder, then the version digits ("sql/1004" for 10.0.4).
std::string StepScriptFolder(const TDbVersion& Version);
// The database a step of that kind (0 system, 1 accounting) works on, as the
// connection string of the database layer ("host:/folder/file" or "/folder/file").
std::string UpdateDatabaseName(std::uint8_t Kind);
// Reads the stored version (highest row) of that database through a
// connection of its own; false when it cannot be read.
bool ReadStoredDbVersion(std::uint8_t Kind, TDbVersion& Version);

class TUpdateScript {
 public:
  // Starts the script: the header comment, an empty line, the CONNECT line
  // and, with SetNames, "SET NAMES SJIS_0208;".
  TUpdateScript(std::uint8_t Kind, const TDbVersion& Version, bool SetNames);

  std::uint8_t Kind() const { return kind_; }
  const TDbVersion& Version() const { return version_; }
  std::string VersionText() const;
  const std::vector<std::string>& Lines() const { return lines_; }

  void Add(const std::string& Line) { lines_.push_back(Line); }
  void Add(std::initializer_list<const char*> Lines);
  // Appends the non-empty lines of the step's script files in list order. A
  // missing file is skipped, or, with Required, ends the append with false
  // (the step then returns urFileMissing without writing or running anything).
  // An unreadable file raises.
  bool AddScriptFiles(std::initializer_list<const char*> Files, bool Required);
  // The same with the script files of another step (fixed data that two steps write alike).
  bool AddScriptFilesOf(const TDbVersion& Step, std::initializer_list<const char*> Files, bool Required);

  // Appends the version line (and "COMMIT;") and "EXIT;". System step 11.0.1
  // writes its version in two lines with a memo of time, operator and computer.
  void Finish();
  // Saves the lines as the update script (Shift-JIS, CR LF, readable by its
  // owner only) and raises when it cannot be written.
  void Save() const;
  // Finish, Save and RunIsqlScript; the script is deleted whatever happens.
  std::int32_t Run();

 private:
  std::uint8_t kind_;
  TDbVersion version_;
  std::vector<std::string> lines_;
};

// Runs the saved update script with the tool and tests the outcome:
// urDone, urScriptFailed, urToolNotStarted or urFileMissing. The script and
// the tool's output are deleted on every path; a failure's output goes to the
// error logs of the log folder (ErrDataup.txt replaced, ErrDataup.log appended).
// With Kind 0 or 1 a clean run must also leave VersionText stored in that
// database; Kind 255 skips that test.
std::int32_t RunIsqlScript(const std::string& VersionText, std::uint8_t Kind = 255);

// Calls a step procedure. An exception inside the step (its own work, an
// unreadable script file, a script that cannot be saved) makes it a failed
// step (urConversionFailed); no update script is left behind.
using TDbUpdateStepCall = std::int32_t (*)();
std::int32_t RunDbUpdateStep(TDbUpdateStepCall Proc);
