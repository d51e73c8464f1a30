#pragma once

#include <QString>

// What the invitation composer gets of one ticked client.
class TClientInfoObj
{
public:
    QString WBC_NAME_ANSI;
    QString WBC_PETROL_ID;
    QString WBC_EMAIL;
};
