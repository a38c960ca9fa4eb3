// TServerFiles: the data module's file and folder operations on a data set's
// files: on this computer in the stand-alone installation (Kind = ConnectKind
// 0), through the system database's procedures on the server in a server
// installation (1 and 2). They keep the system database connected for a
// call and leave it as they found it.
#pragma once

#include <cstdint>
#include <string>

#include "dbaccess/systemstore.h"

class TServerFiles : public TSystemStore {
 public:
  bool ServerFileOperation(const std::string& Mode, const std::string& Path1, const std::string& Path2);
  void ServerLongToShortFileName(const std::string& Path, std::string& ShortName);
  bool ServerDExist(const std::string& Path, std::uint8_t Kind);
  bool ServerMkDir(const std::string& Path, std::uint8_t Kind);
  bool ServerRmDir(const std::string& Path, bool AllowUndo, std::uint8_t Kind);
  bool ServerFExist(const std::string& Path, std::uint8_t Kind);
  bool ServerFDel(const std::string& Path, bool AllowUndo, std::uint8_t Kind);
  bool ServerFMove(const std::string& Source, const std::string& Target, std::uint8_t Kind);
  bool ServerFCopy(const std::string& Source, const std::string& Target, std::uint8_t Kind);
  void ServerShortFileName(const std::string& Path, std::string& ShortName, std::uint8_t Kind);

 protected:
  TServerFiles() = default;
};

TServerFiles& ServerFiles();
