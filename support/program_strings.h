// The program's fixed texts: version, About item, contact address and update address.
#pragma once

#include "support/translation_mark.h"

namespace velkaro {

inline const char kProgramVersion[] = "1.00";
inline const char kAboutMenuText[] =
    QT_TRANSLATE_NOOP("velkaro::CVelkaroDlg", "关于 Velkaro(&A)...");
inline const char kRightsNotice[] =
    QT_TRANSLATE_NOOP("DialogLayout", "版权所有 (C) 2026 Velkaro 开发团队。保留所有权利。");
inline const char kContactAddress[] = "support@velkaro.com";
// Set by the build (VELKARO_UPDATE_URL); empty turns the update check off.
inline const char kUpdateUrl[] = VELKARO_UPDATE_URL;

}  // namespace velkaro
