#include "samples/sample_commands.h"

#include "support/translation_mark.h"

namespace velkaro {

const std::array<SampleCommand, 9>& SampleCommands() {
    using L = PrinterLanguage;
    static const std::array<SampleCommand, 9> samples{{
        {32771, L::ZPL, QT_TRANSLATE_NOOP("velkaro::SampleMenu", "状态查询"), "~HS\r\n"},
        {32772, L::ZPL, QT_TRANSLATE_NOOP("velkaro::SampleMenu", "条码打印"),
         "^XA\r\n"
         "^FO100,100^BY3\r\n"
         "^BCN,100,Y,N,N\r\n"
         "^FD123456\r\n"
         "^XZ\r\n"},
        {32773, L::ZPL, QT_TRANSLATE_NOOP("velkaro::SampleMenu", "字符打印"),
         "^XA\r\n"
         "^FO50,50^ADN,36,20^FDZEBRA^FS\r\n"
         "^FO50,100^ADN,36,20^FDPROGRAMMING^FS\r\n"
         "^FO50,150^ADN,36,20^FDLANGUAGE II^FS\r\n"
         "^XZ\r\n"},
        {32774, L::EPL, QT_TRANSLATE_NOOP("velkaro::SampleMenu", "状态查询"), "U\r\n"},
        {32775, L::EPL, QT_TRANSLATE_NOOP("velkaro::SampleMenu", "条码打印"),
         "N\r\n"
         "B10,10,0,3,3,7,200,B,\"998152-001\"\r\n"
         "P1\r\n"},
        {32776, L::EPL, QT_TRANSLATE_NOOP("velkaro::SampleMenu", "字符打印"),
         "N\r\n"
         "A50,0,0,1,1,1,N,\"Example 1\"\r\n"
         "A50,50,0,2,1,1,N,\"Example 2\"\r\n"
         "A50,100,0,3,1,1,N,\"Example 3\"\r\n"
         "A50,150,0,4,1,1,N,\"Example 4\"\r\n"
         "A50,200,0,5,1,1,N,\"EXAMPLE 5\"\r\n"
         "A50,300,0,3,2,2,R,\"Example 6\"\r\n"
         "P1\r\n"},
        // ESC, a space, then h: three bytes, as the status query has always been sent.
        {32777, L::CPCL, QT_TRANSLATE_NOOP("velkaro::SampleMenu", "状态查询"), "\x1b h"},
        {32778, L::CPCL, QT_TRANSLATE_NOOP("velkaro::SampleMenu", "条码打印"),
         "! 0 200 200 210 1\r\n"
         "BARCODE 128 1 1 50 150 10 HORIZ.\r\n"
         "TEXT 7 0 210 60 HORIZ.\r\n"
         "VBARCODE 128 1 1 50 10 200 VERT.\r\n"
         "VTEXT 7 0 60 140 VERT.\r\n"
         "FORM\r\n"
         "PRINT\r\n"},
        {32779, L::CPCL, QT_TRANSLATE_NOOP("velkaro::SampleMenu", "字符打印"), "~HS"},
    }};
    return samples;
}

}  // namespace velkaro
