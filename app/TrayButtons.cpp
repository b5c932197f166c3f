// The tray buttons.
#include "Unit1.h"

// Brings every tray button in line with its enable box. The notification
// area front end is not part of the program yet, so no button is shown.
void TfrmTamrik::RefreshTrayButtons()
{
}
