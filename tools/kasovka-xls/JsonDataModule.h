#pragma once
// Data for a template run given as JSON, for the command line:
//
//   {"datasets": [{"name": "Table1",
//                  "fields": [{"name": "ID", "type": "autoinc"},
//                             {"name": "Nazev", "type": "text", "size": 50}],
//                  "records": [[1, "A"], [2, "B"]]},
//                 {"name": "Table2", "fields": [...], "records": [...],
//                  "master": "Table1", "masterFields": ["ID"], "detailFields": ["Parent_ID"]}],
//    "values": {"Title": "...", "Matrix": [[1, 2], [3, 4]]}}
//
// Field types: autoinc, integer, text, memo, date ("YYYY-MM-DD" or a day
// serial), currency (decimal text or number), boolean, float. The data sets
// become memory tables; "values" are the named values "#." tags read.

#include "core/MemTable.h"
#include "template/TemplateDataModule.h"

#include <QByteArray>
#include <QJsonObject>
#include <memory>
#include <vector>

namespace kasovka {

class TJsonDataModule : public TTemplateDataModule {
public:
    // Throws kasovka::Error with a Czech text naming what is wrong.
    explicit TJsonDataModule(const QByteArray &json);
    ~TJsonDataModule() override;

    static TJsonDataModule fromFile(const QString &path);

    // nullptr when no data set has that name.
    TMemTable *table(const QString &name) const;

private:
    void loadDataSet(const QJsonObject &object, int number);
    void loadRecords(TMemTable &table, const QJsonValue &records);
    void linkDataSets(const QJsonArray &dataSets);
    void loadValues(const QJsonValue &values);

    std::vector<std::unique_ptr<TMemTable>> m_tables;
};

} // namespace kasovka
