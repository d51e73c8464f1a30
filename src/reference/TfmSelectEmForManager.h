#pragma once

#include "TfrmMainTevBaseSelect.h"

// The emitents that can still be given to a manager, each with its tick: the data module's
// free-emitent list, fetched by the caller. "Добавить" accepts; the caller gives the ticked ones.
class TfmSelectEmForManager : public TfrmMainTevBaseSelect
{
    Q_OBJECT

public:
    explicit TfmSelectEmForManager(db::Dataset* freeEmitents, QWidget* owner = nullptr);
    ~TfmSelectEmForManager() override;

protected:
    void SetupCaptions() override;
};
