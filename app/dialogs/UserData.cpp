#include "app/dialogs/UserData.h"

#include <algorithm>

#include "app/document/DocumentTable.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"

namespace orvale {

namespace {

// Stores `text` in `field` when it differs; the document is changed then.
void Update(clsDocument& doc, std::string& field, const std::string& text) {
  if (field == text) return;
  field = text;
  doc.DocDirty = true;
}

}  // namespace

UserDataControls ReadUserData(const GeneralSettings& settings, const DocumentTable& table) {
  const UserDataDefaultSettings& defaults = settings.UserDataDefaults;
  UserDataControls c;
  c.SetAsDefault = defaults.SetAsDefault;
  if (const clsDocument* doc = table.ActiveDocument()) {
    c.Description = doc->OpticDescription;
    c.Date = doc->OpticDate;
    c.Operator = doc->OpticOperator;
    c.Comments = doc->OpticComments;
  } else {
    c.Description = defaults.Description;
    c.Date = defaults.Date;
    c.Operator = defaults.Operator;
    c.Comments = defaults.Comments;
  }
  return c;
}

void StoreUserData(const UserDataControls& c, GeneralSettings& settings,
                   const DocumentTable& table) {
  if (clsDocument* doc = table.ActiveDocument()) {
    Update(*doc, doc->OpticDescription, c.Description);
    Update(*doc, doc->OpticDate, c.Date);
    Update(*doc, doc->OpticOperator, c.Operator);
    Update(*doc, doc->OpticComments, c.Comments);
  }
  if (!c.SetAsDefault) return;
  UserDataDefaultSettings& defaults = settings.UserDataDefaults;
  defaults.SetAsDefault = true;
  defaults.Date = c.Date;
  defaults.Description = c.Description;
  defaults.Operator = c.Operator;
  defaults.Comments = c.Comments;
}

std::string WithoutLineBreaks(std::string text) {
  std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
  return text;
}

std::string CommentsForEditing(const std::string& kept) {
  std::string edited;
  edited.reserve(kept.size());
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (kept[i] != '\r') {
      edited += kept[i];
    } else if (i + 1 >= kept.size() || kept[i + 1] != '\n') {
      edited += '\n';
    }
  }
  return edited;
}

std::string CommentsForKeeping(const std::string& edited) {
  const std::string lines = CommentsForEditing(edited);
  std::string kept;
  kept.reserve(lines.size() + lines.size() / 8);
  for (char c : lines) {
    if (c == '\n') kept += '\r';
    kept += c;
  }
  return kept;
}

}  // namespace orvale
