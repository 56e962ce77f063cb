#pragma once
// The user data of a document as plain data: the four texts the test report prints
// (optic description, date tested, operator, comments) and whether they are the
// defaults for new documents. The "User Data" dialog mirrors this model.
#include <string>

namespace orvale {

class DocumentTable;
struct GeneralSettings;

// The texts as documents and settings keep them: the comments' line breaks as CR LF,
// none in the other three.
struct UserDataControls {
  std::string Description;
  std::string Date;
  std::string Operator;
  std::string Comments;
  bool SetAsDefault = false;
  bool operator==(const UserDataControls&) const = default;
};

// The active document's texts, or the defaults without one; the SetAsDefault flag.
UserDataControls ReadUserData(const GeneralSettings& settings, const DocumentTable& table);

// OK: the active document takes each text that differs from its own and is marked
// changed for it; with SetAsDefault the defaults take all four texts.
void StoreUserData(const UserDataControls& controls, GeneralSettings& settings,
                   const DocumentTable& table);

// A single-line text without the line breaks a paste brought in.
std::string WithoutLineBreaks(std::string text);
// Comments as an editor shows them (LF) and as they are kept (CR LF); a lone CR counts
// as a line break too.
std::string CommentsForEditing(const std::string& kept);
std::string CommentsForKeeping(const std::string& edited);

}  // namespace orvale
