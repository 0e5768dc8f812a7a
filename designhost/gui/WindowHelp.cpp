// The design window's help topics.
#include "designhost/gui/WindowHelp.h"

#include "host/visualclx/HelpTopics.h"

void RegisterDesignWindowHelp() {
  static const char kModule = 0;  // the design window, as the owner of its topics
  RegisterHelpTopics(
      &kModule,
      {
          {kDesignWindowHelp, "TDesignWindow", "The design window",
           "<p>The design window edits one form or data module at a time.</p>"
           "<ul><li><b>Palette</b> (top): click a component to add it to the form under a fresh name.</li>"
           "<li><b>Components</b> (left): select one or several (Ctrl+click); <b>F2</b> renames, <b>Delete</b> "
           "removes.</li>"
           "<li><b>Object Inspector</b> (right): the properties of the selection.</li>"
           "<li><b>Data</b> (below): the first rows of the selected table while it is active, more as you "
           "scroll. Choosing a row of a master table shows only the linked rows in its detail table. The data "
           "view only reads; nothing is written to the database.</li></ul>"
           "<p><b>Edit &gt; Undo</b> (Ctrl+Z) takes back any change of the form: a property value, a component "
           "added, deleted or renamed, what a dialog wrote back. <b>Redo</b> (Ctrl+Shift+Z or Ctrl+Y) makes it "
           "again. Undoing back to the saved form clears the modified marker (*) in the title.</p>"
           "<p><b>File &gt; Open Recent</b> lists the forms opened and saved last. <b>F1</b> anywhere opens "
           "help on what has the keyboard.</p>"},
          {kObjectInspectorHelp, "TObjectInspector", "The Object Inspector",
           "<p>One row per published property of the selected components. The current row shows the "
           "property's editor: a drop-down list, a text field, or an ellipsis button (<b>...</b>, or "
           "Ctrl+Enter) that opens the property's dialog. Values that differ from the default show in "
           "<b>bold</b>.</p>"
           "<p><b>Enter</b> writes what was typed or chosen; the arrow keys browse a drop-down without "
           "writing; <b>Escape</b> or leaving the row takes back what was typed. The filter box above keeps "
           "only the rows whose name holds its text.</p>"
           "<p>A table's <b>FieldDefs</b> and <b>IndexDefs</b> open into read-only rows: each field with its "
           "type, size and whether it is required; each index with its fields and options. They are read from "
           "the database file and are not stored in the form.</p>"},
      });
}
