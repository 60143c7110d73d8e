// What the settings dialog's backup and reset buttons ask of the program. Each operation
// asks the user what it needs (a file, a question), reports its outcome in a message, and
// returns true only when it was carried out.
#pragma once

namespace kivo {

class Maintenance {
 public:
  virtual ~Maintenance() = default;
  virtual bool BackupSettings() = 0;
  virtual bool BackupShortcuts() = 0;
  virtual bool RestoreSettings() = 0;
  virtual bool RestoreShortcuts() = 0;
  virtual bool ResetSettings() = 0;
  virtual bool ResetShortcuts() = 0;
};

}  // namespace kivo
