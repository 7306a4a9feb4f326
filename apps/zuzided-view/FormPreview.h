// A stored form kept on screen while its file is edited: each change of the file (or
// of the style book's) reads it again; a text that reads becomes the new form, one that
// does not leaves the last good form showing with the reader's error across its foot.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "host/Forms.h"
#include "host/Timers.h"

namespace zzview {

// "FILE:LINE:COLUMN: message" for an error in the text; for a file that cannot be read
// at all, "FILE: no such file" (or what kept it from being read).
std::string DescribeReadError(const std::exception& Error, const std::string& File);

class TFormPreview {
 public:
  TFormPreview(std::string File, std::string StyleFile, bool Designing);
  ~TFormPreview();
  TFormPreview(const TFormPreview&) = delete;
  TFormPreview& operator=(const TFormPreview&) = delete;

  // Reads the files now; true when the form on screen was replaced. The first call
  // always puts a form on screen: a blank one carrying the error when the text is bad.
  bool Reload();
  // Watches both files; changes are picked up by a timer on the UI thread.
  void StartWatching();
  // Takes the file monitors' news and reloads when a file changed (the timer's work).
  void Poll();

  // The form on screen (the stored one, a plain form hosting a stored non-form tree,
  // or the blank one), nullptr before the first Reload.
  fmx::TCommonCustomForm* Form() const;
  // The error the form shows, empty while the files read.
  const std::string& Error() const { return FError; }
  // How many good reads there were.
  int Generation() const { return FGeneration; }
  // Where each new error is written as well (nullptr: nowhere).
  void SetLog(std::ostream* Value) { FLog = Value; }

 private:
  struct TShown;
  struct TMonitor;
  void Show(std::unique_ptr<TShown> Next);
  void ShowError();

  std::string FFile, FStyleFile;
  bool FDesigning;
  std::string FText, FStyleText;  // what the last good read saw
  std::string FError;
  int FGeneration = 0;
  bool FChanged = false;
  std::ostream* FLog = nullptr;
  std::unique_ptr<TShown> FShown;
  fmx::TWeak<fmx::TComponent> FErrorStrip;
  std::unique_ptr<TMonitor> FMonitor;
  std::unique_ptr<fmx::TTimer> FTimer;
};

}  // namespace zzview
