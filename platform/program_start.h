// What every start of the program does before its window exists, and undoes at the end.
#pragma once

// Restricts the DLL search to the system folder, starts COM for the thread (the shell uses
// it to open web addresses) and makes the program's own folder the current folder, whatever
// folder it was started from. COM ends with the owner.
class ProgramStart {
  public:
    ProgramStart();
    ~ProgramStart();
    ProgramStart(const ProgramStart&) = delete;
    ProgramStart& operator=(const ProgramStart&) = delete;

  private:
    bool comStarted_;
};
