// The drug editor's state and its file operations on VQDBASE.FIL: counting
// the records, reading and saving the current one, moving between them,
// deleting one, and rebuilding the two index files and the category file
// when the editor closes. No window: the editor window owns one of these.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "authoring/model/drugform.h"
#include "core/drug.h"
#include "core/errors.h"
#include "core/filestamp.h"

namespace authoring {

// The bytes of a database after deleting record recno: records 1 to
// reccount of the old bytes (a record beyond the end, or cut short, as the
// blank record) without record recno, in their old order.
std::string withoutdrug(const std::string& bytes, long recno, long reccount);

// What the editor's reload of the category table found: the first failure
// (0 when all was read), the count the file promised and the entries (from
// 1) that could not be read.
struct CategoryLoad {
  int error = 0;
  int promised = 0;
  std::vector<int> lost;
  // None of the categories the file names could be read: the close must
  // not replace it with what the editor holds.
  bool keepfile() const;
};
// Reloads the tool's category table from vqcat.idx, as the editor does when
// it opens. The categories read whole are kept, in their order and with
// their numbers; those that could not be read are left out.
CategoryLoad loadcategorytable(core::DrugLists& table);
// What the editor says when that fails.
std::string categoryfailure(const CategoryLoad& load);
// The names of the table without trailing blanks: the category box's list.
std::vector<std::string> categorylist(const core::DrugLists& table);

// What the editor tells of a file operation that failed: "what (error n:
// cause).", and when another program changed the file, that the editor
// has read it again.
Problem filefailure(const std::string& what, const core::FileError& e);
inline const std::string CHANGEDREAD =
    "The editor has read the database again; what you typed is still shown, so you can save it once more.";

// The moves between records.
enum class Move { First, Last, Previous, Next };

class DrugDatabase {
 public:
  core::drugrecord drug;         // the current record
  core::drugrecord savedrecord;  // the record as last shown
  long currec = 1;               // from 1
  long reccount = 1;             // the records counted while the editor is open
  bool invalid = false;          // the last validation blocked saving

  // Counts the records of the file (created empty when missing) and makes
  // the last one current; an empty file counts as one blank record.
  void opendatabase();
  // Reads record currec into drug (blank beyond the end).
  void readcurrent();
  // Writes drug as record currec (replacing it, or appending it). Like
  // deletecurrent, it first checks that the file is still the one counted:
  // the same file, of the length it last read or wrote. When another
  // program has replaced, lengthened or shortened it, nothing is written
  // and core::FileChanged is thrown.
  void writecurrent();
  // Counts the file afresh after another program changed it: the record
  // last read or written becomes current where it lies now; one no longer
  // in the file (or a new one) becomes a new record after the last, so that
  // the drug typed, saved there, replaces no other. What the form shows
  // then waits to be saved. Throws core::FileError when the file cannot be
  // read.
  void reload();
  // The form now shows drug: it becomes the record as last shown, unless it
  // waits to be saved after a reload.
  void shown();
  // Whether what the form shows waits to be saved after a reload.
  bool unsaved() const { return unsaved_; }

  void first() { currec = 1; }
  void last() { currec = reccount; }
  // One back; from record 1 round to the last.
  void previous() { currec = currec <= 1 ? reccount : currec - 1; }
  // One on; true when that steps past the counted records.
  bool next() { return ++currec > reccount; }
  // Past the end: count the new blank record, or go back to the last one.
  void acceptnew() { reccount = currec; }
  void refusenew() { currec = reccount < 1 ? 1 : reccount; }

  // Checks the form: every rule it fails, in order. invalid tells whether
  // one of them blocks saving.
  std::vector<Problem> validaterecord(const DrugForm& form);
  // The save question before the editor leaves the record shown. The form
  // is read into drug; only when it differs from the record as last shown
  // is wantsave() asked, and on Yes the form is checked and, when nothing
  // blocks, written as record currec. Returns what the user is told, in
  // order; invalid is true when saving was refused, a failed write included.
  std::vector<Problem> checksave(const DrugForm& form, const core::DrugLists& table,
                                 const std::function<bool()>& wantsave);
  // Leaves the record shown for another: checksave, then the step and the
  // record read. A refused save stays on the record, with drug as the form
  // has it. Next past the last record checks the form once more and counts
  // a new blank record only when nothing blocks, else goes back to the
  // last one. A record that cannot be read keeps the editor where it was.
  // Ends with invalid false.
  std::vector<Problem> leave(Move to, const DrugForm& form, const core::DrugLists& table,
                             const std::function<bool()>& wantsave);

  // Deletes record currec: the whole database is rewritten at once without
  // it, and the record now at currec is read. Throws core::FileError when
  // the rewrite fails, leaving the file and the editor as they were, and
  // core::FileChanged when another program changed the file: nothing is
  // deleted and the file is counted afresh (reload).
  void deletecurrent();

  // Rebuilds vqdbs1.idx, vqdbs2.idx and vqcat.idx from records 1 to
  // reccount and the categories of the table (1 to ncategories); with
  // keepcategoryfile, vqcat.idx is written back as it stands instead.
  void rebuild(const core::DrugLists& table, bool keepcategoryfile = false) const;

 private:
  void stamp();
  // Throws core::FileChanged when the file is no longer as counted.
  void requirecounted() const;

  // The file as counted; none for an editor given its count by hand.
  std::optional<core::FileStamp> counted_;
  core::drugrecord read_;  // the record currec as last read or written
  bool unsaved_ = false;
};

}  // namespace authoring
