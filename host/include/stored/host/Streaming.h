// Reading and writing the stored-form text format:
//
//   object Form1: TForm
//     Caption = 'Hello'#20320#22909
//     Fill.Color = xFFF5F5F5
//     object Rectangle1: TRectangle
//       Align = Client
//       Corners = [TopLeft, TopRight]
//       Margins.Top = 6.000000000000000000
//     end
//   end
//
// Values: integers; numbers with 18 decimals; strings in single quotes ('' for a
// quote) with #n (decimal UTF-16 code unit) for anything outside printable ASCII and
// '+' joining the pieces of a long string; identifiers for enumeration values,
// Booleans, component references and handler names; sets in [ ]; binary data in
// { hex }; collections in < item ... end >.
//
// Colours: a colour with a name is written as cla<Name> (claWhite, claBlack, claRed,
// claGreen, claGray, ...); every other colour as x followed by eight hex digits,
// alpha first (xFF2B2B2B). Both forms are read.
//
// Objects may be unnamed ("object TRectangle"), as style trees are.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "host/Classes.h"
#include "host/Registry.h"

namespace fmx {

class TStyleBook;

// A stored form could not be read. Line and Column (1-based; the column counts
// characters) point at the offending text; the message says what was expected there.
// FileName is the file the text came from, empty when the text was handed over as
// such; what() then starts with "FileName: ".
class EReadError : public Exception {
 public:
  EReadError(int ALine, int AColumn, const std::string& What, const std::string& AFileName = {});
  int Line() const { return FLine; }
  int Column() const { return FColumn; }
  const std::string& FileName() const { return FFileName; }
  // The message without the position.
  const std::string& What() const { return FWhat; }
  // The same error, now knowing the file it came from.
  EReadError InFile(const std::string& AFileName) const;

 private:
  int FLine, FColumn;
  std::string FWhat, FFileName;
};

// What a stored form may ask of the reader. A file is untrusted input: without these
// bounds a few bytes could recurse the parser off the stack (deep nesting) or ask for
// gigabytes (a long run of objects, strings, hex digits). Each bound is checked while
// the text is parsed, before anything is created, and breaking one is an EReadError
// at the place where the text went over it. The defaults are far above what the
// designer or the writer produce (the largest style files hold a few thousand objects).
struct TReadLimits {
  // Objects and collection items nested in each other (the root is level 1).
  int MaxDepth = 64;
  // The whole text (a file is refused by its size before it is read).
  size_t MaxTextBytes = size_t{64} << 20;
  // One string value in UTF-8, after its '+' pieces and #n characters are joined.
  size_t MaxStringBytes = size_t{1} << 20;
  // One { binary } value, in decoded bytes (a picture still has its own pixel bound).
  size_t MaxBinaryBytes = size_t{16} << 20;
  // Objects and collection items in the whole text.
  size_t MaxObjects = 100000;
  // Property assignments in the whole text, those of collection items included.
  size_t MaxProperties = 1000000;
  // Elements written in one [set] (no set type has more than 64 members).
  size_t MaxSetElements = 64;
};

/// How a stored form is read.
struct TReadOptions {
  // Puts every created object into the designer state before it is loaded.
  bool Designing = false;
  TReadLimits Limits;
};

// How an object is loaded. It is constructed with its owner (no loading state is set
// yet), then csLoading and csReading are set on it, it gets its name and parent, and
// its properties are assigned through their setters in declaration order; csReading is
// cleared and its children follow the same way. When the whole tree exists, component
// references are assigned (csLoading still set), and then Loaded() runs on every object
// in the order they were created, a parent before its children.
//
// Setters that refuse. A stored form holds what an object showed when it was written,
// which its setters may not accept in declaration order: a property that can only be
// changed while another one is set, say, and that other property was changed back
// afterwards. A setter that refuses a value because of the object's state or of its
// other properties (with a message box, or silently) must therefore, while csLoading is
// in its ComponentState (IsLoading()):
//   - store the value without refusing it and without any message; and
//   - leave whatever depends on the combination for Loaded().
// Such a class overrides Loaded(): it calls the inherited Loaded() first (which clears
// csLoading) and then makes what it shows agree with its stored properties, again
// without a message. Refusals (and their messages) are for the application's own
// assignments, which come after Loaded. No message box may open while a form loads.
// A value that is wrong in itself, whatever the state (of the wrong kind, out of
// range), is not the setter's business during a load: declare the property with
// SetCheck (Registry.h) and the load fails with EReadError before anything is created.

// Creates the tree described by Text: the root owned by AOwner, every other object
// owned by the root. The whole text is checked before anything is created; a failure
// throws EReadError and leaves nothing behind.
TComponent* ReadComponentFromText(std::string_view Text, TComponent* AOwner,
                                  const TReadOptions& Options = {});

template <class T>
T* ReadComponentFromText(std::string_view Text, TComponent* AOwner,
                         const TReadOptions& Options = {}) {
  TComponent* c = ReadComponentFromText(Text, AOwner, Options);
  if (T* t = dynamic_cast<T*>(c)) return t;
  delete c;
  throw EReadError(1, 1, "an object of class " + std::string(ClassOf<T>()->ClassName()));
}

// Loads Text onto an existing component (typically a form created in code): its own
// properties, and new children owned by it. The root's class in the text must be the
// component's class or one of its ancestors. Everything is checked first: bad input
// throws EReadError and leaves Root unchanged. (A setter that throws while the checked
// values are applied still gets EReadError, and the new children are removed again.)
void ReadRootProperties(TComponent* Root, std::string_view Text, const TReadOptions& Options = {});

// The text of Root and everything it owns that is stored, children nested in their
// parents. Published properties come in declaration order; those equal to their
// stored default are left out.
std::string WriteComponentToText(TComponent* Root);

// Whole files. A file that cannot be opened, or is larger than MaxBytes, throws
// EReadError at line 0; errors in the text name the file.
std::string ReadTextFile(const std::string& FileName,
                         size_t MaxBytes = TReadLimits{}.MaxTextBytes);
TComponent* ReadComponentFromFile(const std::string& FileName, TComponent* AOwner,
                                  const TReadOptions& Options = {});

// Replaces the style book's styles with the style tree in Text (objects found by
// their StyleName). Nothing changes when the text cannot be read.
void LoadStyleBook(TStyleBook* Book, std::string_view Text);
void LoadStyleBookFromFile(TStyleBook* Book, const std::string& FileName);

// Checks Text the way the reader does without creating anything.
void ValidateFormText(std::string_view Text, const TReadLimits& Limits = {});

}  // namespace fmx
