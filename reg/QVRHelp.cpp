// The package's help topics: one for each property editor it binds and one for the Field Link
// Designer, registered with the package and shown by the host's help window.
#include <vector>

#include "fldlinks/QVRLinkFields.h"
#include "host/visualclx/HelpTopics.h"
#include "reg/QVRReg.h"

namespace QVRReg {

const std::vector<THelpTopic>& HelpTopics() {
  static const std::vector<THelpTopic> topics = {
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
      {kQVRLinkFieldsHelpContext, "TQVRLinkFields", "The Field Link Designer",
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

}  // namespace QVRReg
