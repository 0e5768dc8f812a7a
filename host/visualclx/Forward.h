// Forward declarations of the widget model (Controls, Forms, StdCtrls, ExtCtrls, Dialogs)
// and of the widget sets that put it on a screen.
#pragma once

class TControl;
class TWinControl;
class TControlScrollBar;
class TScrollingWinControl;
class TCustomForm;
class TForm;
class TApplication;
class TListControlItems;
class TListBox;
class TComboBox;
class TButton;
class TLabel;
class TBevel;
class TOpenDialog;
struct TMessageBox;
class TWidgetSet;
class THeadlessWidgetSet;
class TScriptedUser;
