// TCloudShareIO: the cloud-share setting of a data set that need not be the
// one currently open. A data set takes part in the cloud share when CLOUD_LINE
// of row 1 of its ACCDEF1 is above 0 (the cloud slot); in the stand-alone
// installation its per-data settings file repeats the mark as CLOUD_SHARE of
// section DATAINFO. Only data sets above version 11.0.0 carry the setting.
//
// Each operation works on the data module's data-set database IBDatabaseDAT
// connected to the given folder: a database already connected to that folder
// stays connected; otherwise the folder is connected for the operation and
// disconnected afterwards (also after an error), and a data set that was
// connected before is connected again. None of this writes the in-use
// information or the data-set list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/fb/ibx.h"

class TCloudShareIO {
 public:
  TCloudShareIO();

  // Writes the slot Value (0 or less: no part in the cloud share); true when
  // written or nothing to write (version 11.0.0 or older).
  bool SetCloudShare(const std::string& Host, const std::string& Folder, std::int32_t Value);
  // SetCloudShare with Value 0.
  bool ClearCloudShare(const std::string& Host, const std::string& Folder);
  // The CLOUD_LINE value; 0 when the data set cannot carry it or on an error.
  std::int32_t GetCloudShare(const std::string& Host, const std::string& Folder);

  // The object's own transaction (read_committed, rec_version, nowait) and
  // its statement on IBDatabaseDAT. Errors are reported and rolled back only
  // when the transaction was not already active before the call.
  TIBTransaction IBTransaction1;
  TIBSQL IBSQL1;

 private:
  // One operation: writes Value, or reads CLOUD_LINE into Value (0 when the
  // data set does not carry it); false after a failure.
  bool Run(const std::string& Host, const std::string& Folder, bool Write, std::int32_t& Value);
  void Bind();
};

// The object of Holder (the data-selection dialog's CloudShareIO), created on
// first use.
TCloudShareIO& CloudShareIOOf(std::shared_ptr<TCloudShareIO>& Holder);
