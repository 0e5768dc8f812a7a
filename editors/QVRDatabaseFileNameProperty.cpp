// The database file name editor and its open-file dialog.
#include "editors/QVRDatabaseFileNameProperty.h"

#include <memory>

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
  if (dialog->Execute()) SetStrValue(Utf16ToUtf8(dialog->FileName()));
}
