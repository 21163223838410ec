#include "report/DemoFilterCases.h"

#include "core/DateTime.h"

namespace kasovka::test {

std::vector<FilterCase> demoFilterCases()
{
    std::vector<FilterCase> cases;
    const TDateTime from = encodeDate(2024, 4, 1);
    const TDateTime to = encodeDate(2024, 9, 30);
    for (quint8 kind = 0; kind <= 7; ++kind) {
        for (int variant = 0; variant < 4; ++variant) {
            cases.push_back({QStringLiteral("k%1-v%2").arg(kind).arg(variant), [=](TReportFilter &f) {
                                 f.VertikalniDeleni = kind;
                                 f.ZpusobSumace = variant % 2 ? rgDetailed : rgByDocument;
                                 f.TriditDle = variant / 2 ? roDocumentNumber : roDocumentDate;
                                 f.ZaverkoveUpravy = true;
                                 f.ZaObdobi = variant >= 1;
                                 f.ObdobiOD = from;
                                 f.ObdobiDO = to;
                                 f.ZapocitavatPredchObdobi = variant >= 2;
                                 f.PouzeZaverecnyPrehled = variant == 3 && kind % 2;
                                 f.FiltrStrediska = kind == 4;
                                 f.FiltrStrediskaText = "PRAHA;BRNO;";
                                 f.FiltrStrediskaNegace = variant == 2;
                                 f.FiltrMena = kind == 6;
                             }});
        }
    }
    return cases;
}

} // namespace kasovka::test
