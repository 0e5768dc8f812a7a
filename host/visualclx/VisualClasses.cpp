// The classes of the widget model that stored forms name.
#include "host/visualclx/VisualClasses.h"

#include "host/rtl/Classes.h"
#include "host/visualclx/Application.h"
#include "host/visualclx/Bevel.h"
#include "host/visualclx/Button.h"
#include "host/visualclx/ComboBox.h"
#include "host/visualclx/DataModule.h"
#include "host/visualclx/Form.h"
#include "host/visualclx/Label.h"
#include "host/visualclx/ListBox.h"
#include "host/visualclx/OpenDialog.h"

void RegisterVisualClasses() {
  RegisterRtlClasses();
  // Controls and forms.
  RegisterClasses({TControl::StaticClass(), TWinControl::StaticClass(), TScrollingWinControl::StaticClass(),
                   TCustomForm::StaticClass(), TForm::StaticClass(), TApplication::StaticClass()});
  // Standard and extra controls.
  RegisterClasses({TListBox::StaticClass(), TComboBox::StaticClass(), TButton::StaticClass(), TLabel::StaticClass(),
                   TBevel::StaticClass()});
  // Dialogs.
  RegisterClasses({TOpenDialog::StaticClass()});
  // Roots without a window that hold non-visual components.
  RegisterDataModuleClasses();
}
