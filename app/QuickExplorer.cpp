// The quick explorer menu: the drives with their labels.
#include "Unit1.h"

void TfrmTamrik::volInfoError(int) {}
