// Unit QVREdit: the editor of a database's file name, with an open-file dialog for the
// database's files beside the plain text.
#pragma once

#include "host/designide/DesignEditors.h"

// The filter the dialog offers: the database files first, then all files.
inline constexpr const char* kDatabaseFileFilter = "Tirvendal database (*.tvd)|*.tvd|Any files (*.*)|*.*";

class TQVRDatabaseFileNameProperty : public TStringProperty {
  TIRVENDAL_CLASS(TQVRDatabaseFileNameProperty)

  // Exactly paDialog and paRevertable: an ellipsis button, no list, one component at a time.
  TPropertyAttributes GetAttributes() override;
  // Runs the open-file dialog; a file accepted there becomes the property's value, relative to
  // the form's folder when it lies in it or below, else absolute. The dialog starts with
  // nothing preselected, and is freed on every path, errors included.
  void Edit() override;
};
