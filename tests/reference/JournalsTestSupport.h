#pragma once

// A console signed in to the test portal as the administrator, for the journal, request, range
// and archive windows.
#include "../clients/ClientsTestSupport.h"
#include "Catalogue.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "ScriptedModalRunner.h"

#include <gtest/gtest.h>

class JournalsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_PG();
        console = std::make_unique<SignedInModule>();
        ASSERT_TRUE(console->connected);
    }
    void TearDown() override { console.reset(); }

    db::Session* session() const { return console->dm->session(); }
    QString shema() const { return console->dm->ActiveScheme(); }
    TdmMain& dm() const { return *console->dm; }

    // Values of one column of a dataset's visible rows.
    static QStringList columnOf(db::Dataset& d, const QString& field)
    {
        QStringList values;
        const int column = d.fieldIndex(field);
        for (int row = 0; row < d.recordCount(); ++row)
            values << d.value(row, column).toString();
        return values;
    }

    std::unique_ptr<SignedInModule> console;
};
