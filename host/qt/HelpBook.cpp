// The topics of the help book.
#include "host/qt/HelpBook.h"

#include "host/rtl/SysUtils.h"

const std::vector<THelpTopic>& HelpTopics() {
  static const std::vector<THelpTopic> topics = {
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
      {27110, "TQVRDatabaseNameProperty", "DatabaseName",
       "<p>The name of the database component the table reads from. The drop-down lists the databases "
       "known to the table's session. A database component makes its name known when its "
       "<b>DatabaseName</b> is set.</p>"},
      {27111, "TQVRSessionNameProperty", "SessionName",
       "<p>The session the database belongs to. The drop-down lists the sessions: <i>Default</i> first, "
       "then the others in the order they were made. Naming a new session makes it.</p>"},
      {27112, "TQVRTableNameProperty", "TableName",
       "<p>The table of the database file that the component shows. The drop-down lists the file's tables "
       "(not its views or internal tables), sorted by name.</p>"},
      {27113, "TQVRIndexNameProperty", "IndexName",
       "<p>The index that orders the table. Setting it empties <b>IndexFieldNames</b>: a table has one "
       "order. With both empty the table is ordered by its primary key.</p>"},
      {27114, "TQVRIndexFieldNamesProperty", "IndexFieldNames",
       "<p>The fields, joined by <tt>;</tt>, that order the table, as an alternative to <b>IndexName</b>. "
       "The drop-down offers the field lists of the table's indexes.</p>"},
      {27115, "TQVRDatabaseFileNameProperty", "DatabaseFileName",
       "<p>The database file (<tt>.tvd</tt>). The ellipsis button opens a file dialog that accepts only an "
       "existing file. A relative name is taken from the folder of the form file.</p>"},
      {27116, "TQVRFieldLinkProperty", "MasterFields",
       "<p>The fields of the master table that the detail table follows. The ellipsis button opens the "
       "Field Link Designer, in which the detail's index and the joins are chosen.</p>"},
      {kFieldLinkDesignerHelp, "TQVRLinkFields", "The Field Link Designer",
       "<p>Links a detail table to its master: the detail then shows only the rows whose index fields hold "
       "the values of the master's current row.</p>"
       "<ol><li>Choose the detail's index under <b>Available Indexes</b>. <b>Detail Fields</b> offers its "
       "fields.</li>"
       "<li>Choose a detail field and a master field and press <b>Add</b>: the join appears under "
       "<b>Joined Fields</b>. Join the index's fields in order, from the first.</li>"
       "<li><b>Delete</b> removes the selected joins, <b>Clear</b> all of them.</li>"
       "<li><b>OK</b> writes <b>MasterFields</b> and the index setting back to the table. A detail field "
       "left out before a joined one is refused with a message, and the designer stays open.</li></ol>"
       "<p><b>Enter</b> presses OK, <b>Escape</b> Cancel.</p>"},
  };
  return topics;
}

const THelpTopic* FindHelpTopic(int Context) {
  for (const THelpTopic& topic : HelpTopics())
    if (topic.Context == Context) return &topic;
  return nullptr;
}

int HelpContextOf(std::string_view Keyword) {
  for (const THelpTopic& topic : HelpTopics())
    if (SameText(topic.Keyword, Keyword)) return topic.Context;
  return 0;
}
