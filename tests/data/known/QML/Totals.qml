// The total row under the file list.
import QtQuick
import QtQuick.Controls

/* Shows the sums of the run;

   hidden while counting. */
Row {
    id: totals
    spacing: 8 // pixels
    property int code: 0
    Label { text: qsTr("Code // lines") }
    Label { text: totals.code.toString() }
    Label { text: '/* not a comment */' } /* label */
    property string help: `first line
// still the template`
}
