#pragma once
// Message boxes of the program: caption "TARVEN", icons and buttons by the style flags
// (16 error + OK, 48 exclamation + OK, 52 exclamation + Yes/No, 64 information + OK, 36 question + Yes/No);
// the result is the code of the pressed button (1 OK, 6 Yes, 7 No).
#include <QString>

class QWidget;

int PokazKomunikat(QWidget *parent, const QString &text, int flags);
// Installs PokazKomunikat as the handler of LangMessage.
void ZainstalujKomunikaty();
