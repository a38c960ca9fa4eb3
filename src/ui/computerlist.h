// The choice of a computer on the network, in place of the desktop's
// browse-for-computer dialog: a list of the host names this machine knows,
// those connected to before (the connection settings file) first, then those
// of the hosts file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QDialog>

class QLabel;
class QListWidget;
class TxPlButton;

// Host names of a hosts file ("address name [alias...]" lines, "#" comments),
// in file order without repeats; the names of multicast and other special
// IPv6 addresses (ff..., fe...) are left out.
std::vector<std::string> HostsFileNames(const std::string& HostsFile);
// The names offered: the HOSTNAME values of the connection settings file
// (SystemDef.ConnectIniFile: SERVER, SBC, LOCAL), then those of HostsFile,
// each once (letter case ignored).
std::vector<std::string> KnownHostNames(const std::string& HostsFile = "/etc/hosts");

class TComputerListBox : public QDialog {
  Q_OBJECT
 public:
  TComputerListBox(const std::string& Title, const std::vector<std::string>& Names, QWidget* Owner = nullptr);
  // Modal (or through the dialog responder); the chosen name, nothing when
  // cancelled or when no row is chosen.
  std::optional<std::string> Execute();

  QLabel* lblTitle = nullptr;
  QListWidget* lstComputers = nullptr;
  TxPlButton* btnOK = nullptr;
  TxPlButton* btnCancel = nullptr;
};
