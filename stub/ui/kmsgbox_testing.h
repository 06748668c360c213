#pragma once
// Test seam of the message box.

// While set, boxes use the plain multi-line edit control that stands in when
// "RICHED32.DLL" or its "RICHEDIT" class is missing.
void SetMsgBoxPlainTextForTesting(bool plain);
