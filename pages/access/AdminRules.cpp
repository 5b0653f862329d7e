#include "access/AdminRules.h"

#include "CodePage.h"

namespace qv::admin {
namespace {

Verdict refused(int stringId) {
    Verdict verdict;
    verdict.stringId = stringId;
    return verdict;
}

} // namespace

Verdict checkChange(std::string_view idUtf8, std::string_view passwordUtf8,
                    std::string_view retypeUtf8, int codePage) {
    if (idUtf8.empty()) {
        Verdict verdict;
        verdict.fixedText = kInputIdText;
        return verdict;
    }
    if (passwordUtf8.empty())
        return refused(kInputPassword);
    // Text that converts has exactly one form in the code page, so comparing what was typed is
    // comparing the bytes that would be sent; text that does not convert can never compare
    // equal by way of the '?' both would become.
    if (passwordUtf8 != retypeUtf8)
        return refused(kPasswordsDiffer);

    bool idOk = true;
    bool passwordOk = true;
    Verdict verdict;
    verdict.id = utf8ToAnsi(idUtf8, codePage, &idOk);
    verdict.password = utf8ToAnsi(passwordUtf8, codePage, &passwordOk);
    if (!idOk)
        return refused(kIdNotConvertible);
    if (verdict.id.size() > kMaxIdBytes)
        return refused(kIdTooLong);
    if (!passwordOk)
        return refused(kPasswordNotConvertible);
    if (verdict.password.size() > kMaxPasswordBytes)
        return refused(kPasswordTooLong);
    return verdict;
}

} // namespace qv::admin
