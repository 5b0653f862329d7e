#include "core/access/AdminRules.h"

#include "link/CodePage.h"

namespace qv::admin {
namespace {

Verdict refused(StringId message) {
    Verdict verdict;
    verdict.refusal = Message{message, {}};
    return verdict;
}

} // namespace

Verdict checkChange(std::string_view idUtf8, std::string_view passwordUtf8,
                    std::string_view retypeUtf8, int codePage) {
    if (idUtf8.empty())
        return refused(StringId::AdminInputId);
    if (passwordUtf8.empty())
        return refused(StringId::AdminInputNewPassword);
    // Text that converts has exactly one form in the code page, so comparing what was typed is
    // comparing the bytes that would be sent; text that does not convert can never compare
    // equal by way of the '?' both would become.
    if (passwordUtf8 != retypeUtf8)
        return refused(StringId::AdminPasswordsDiffer);

    bool idOk = true;
    bool passwordOk = true;
    Verdict verdict;
    verdict.id = utf8ToAnsi(idUtf8, codePage, &idOk);
    verdict.password = utf8ToAnsi(passwordUtf8, codePage, &passwordOk);
    if (!idOk)
        return refused(StringId::IdNotConvertible);
    if (verdict.id.size() > kMaxIdBytes)
        return refused(StringId::AdminIdTooLong);
    if (!passwordOk)
        return refused(StringId::PasswordNotConvertible);
    if (verdict.password.size() > kMaxPasswordBytes)
        return refused(StringId::AdminPasswordTooLong);
    return verdict;
}

} // namespace qv::admin
