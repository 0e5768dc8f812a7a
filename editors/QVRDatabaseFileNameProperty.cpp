// The database file name editor and its open-file dialog.
#include "editors/QVRDatabaseFileNameProperty.h"

#include <memory>

#include "host/rtl/FormFileName.h"
#include "host/visualclx/Application.h"
#include "host/visualclx/OpenDialog.h"

TClass TQVRDatabaseFileNameProperty::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TQVRDatabaseFileNameProperty>(TStringProperty::StaticClass()).Constructible().Build();
  return &info;
}

TPropertyAttributes TQVRDatabaseFileNameProperty::GetAttributes() { return {paDialog, paRevertable}; }

void TQVRDatabaseFileNameProperty::Edit() {
  // The application owns the dialog, as every dialog of the designer; this editor frees it
  // itself as soon as it is done, also when showing it or storing the name raises.
  std::unique_ptr<TOpenDialog> dialog(new TOpenDialog(Application()));
  dialog->SetOptions({ofFileMustExist});
  dialog->SetDefaultExt(".tvd");
  dialog->SetFilter(kDatabaseFileFilter);
  dialog->SetHelpContext(0);
  if (!dialog->Execute()) return;
  // A file in the form's folder or below it is stored relative to that folder, so the
  // project keeps its database when it moves; any other by its absolute path.
  std::string fileName = Utf16ToUtf8(dialog->FileName());
  if (auto* component = dynamic_cast<TComponent*>(GetComponent(0)))
    fileName = FormFileName(fileName, component->FormFolder());
  SetStrValue(fileName);
}
