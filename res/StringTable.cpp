#include "StringTable.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace qv {
namespace {

struct StringEntry {
    int id;
    std::string_view english;
    std::string_view korean;
};

// Every text the window and qvctl show by id, in both languages, sorted by id. Texts keep their
// appliance-era spelling and spacing in English: administrators and support notes quote them.
constexpr std::array kStrings = std::to_array<StringEntry>({
    {101, "About QVSetting", "QVSetting 정보"},
    {103, "DHCP", "DHCP"},
    {104, "UPNP", "UPNP"},
    {105, "Save & Reboot", "저장 후 재부팅"},
    {106, "(Default : 12301)", "(기본값 : 12301)"},
    {107, "(Default : 12302)", "(기본값 : 12302)"},
    {108, "(Default : 12300)", "(기본값 : 12300)"},
    {109, "(Default :      80)", "(기본값 :      80)"},
    {110, "MAC Reg.", "MAC 등록"},
    {111, "DDNS Check", "DDNS 확인"},
    {112, "DDNS Reg.", "DDNS 등록"},
    {113, "NTP Server Reg.", "NTP 서버 등록"},
    {114, "Server Address", "서버 주소"},
    {115, "Admin ID", "관리자 ID"},
    {116, "Password", "비밀번호"},
    {122, " Do not use autoupdate", " 자동 업데이트 사용 안 함"},
    {123, "Firmware update", "펌웨어 업데이트"},
    {124, "Update state", "업데이트 상태"},
    {125, "Relay Server", "릴레이 서버"},
    {126, "Setting program", "설정 프로그램"},
    {127, "Update finished", "업데이트 완료"},
    {128, "Update start", "업데이트 시작"},
    {129, "Please input new password to change Admin ID and password.",
     "관리자 ID와 비밀번호를 변경하려면 새 비밀번호를 입력하세요."},
    {130, "The password you typed do not match.", "입력한 비밀번호가 일치하지 않습니다."},
    {131, "Select file, please.", "파일을 선택하세요."},
    {132, "Select Group, please.", "그룹을 선택하세요."},
    {133, "Input ID, please.", "아이디를 입력하세요."},
    {134, "Input the password, please.", "비밀번호를 입력하세요."},
    {135, "ID is too long.", "아이디가 너무 깁니다. 30바이트 이하로 입력하세요."},
    {136, "Password is too long.", "비밀번호가 너무 깁니다. 15바이트 이하로 입력하세요."},
    {138, "Center ID is duplicated.", "센터 아이디가 중복되었습니다."},
    {139, "Select the Center ID you want to modify, please.", "수정할 센터 아이디를 선택하세요."},
    {140, "Select the Center ID you want to delete, please.", "삭제할 센터 아이디를 선택하세요."},
    {141, "The character '$' is not permitted here.",
     "비밀번호에는 '$' 문자를 사용할 수 없습니다."},
    {142, "Select IO what you want to make schedule on, please.",
     "스케줄을 설정할 IO를 선택하세요."},
    {143, "Select ON or OFF or PUSH, please.", "ON, OFF 또는 PUSH를 선택하세요."},
    {144, "Select exceptional month on scheduler, please.", "예외 스케줄의 월을 선택하세요."},
    {145, "Select exceptional date on scheduler, please.", "예외 스케줄의 날짜를 선택하세요."},
    {146, "Wrong selection in exceptional date.", "예외 스케줄의 날짜가 잘못되었습니다."},
    {147, "Select week day on scheduler, please.", "스케줄의 요일을 선택하세요."},
    {148, "Select the hour on scheduler, please.", "스케줄의 시간을 선택하세요."},
    {149, "Select IO's relay point, please. ", "IO의 접점을 선택하세요. "},
    {150, "Duplicated schedule setting.", "중복된 스케줄 설정입니다."},
    {151, "Schedule numbers limitation was exceeded.", "스케줄 개수 제한을 초과했습니다."},
    {152, "Select the schedule to delete, please.", "삭제할 스케줄을 선택하세요."},
    {153, "Select the schedule to modify, please.", "수정할 스케줄을 선택하세요."},
    {154, "Duplicated schedule.", "중복된 스케줄입니다."},
    {155, "There is no data to convert into Excel format.",
     "엑셀 형식으로 변환할 데이터가 없습니다."},
    {156, "It is not IO scheduler file format.", "IO 스케줄러 파일 형식이 아닙니다."},
    {157, "Please make it lower than 600Kbyte. ", "600KB보다 작은 파일을 선택하세요. "},
    {158, "Please input DDNS ID.", "DDNS 아이디를 입력하세요."},
    {159, "Only alphabets and numbers are permitted.", "영문자와 숫자만 사용할 수 있습니다."},
    {160, "Please check connection state to server.", "서버와의 연결 상태를 확인하세요."},
    {161, "If you change network configuration, server will reboot. \r\n Will you continue?",
     "네트워크 설정을 변경하면 서버가 재부팅됩니다. \r\n 계속하시겠습니까?"},
    {162, "Login error. Please check admin ID and password.",
     "로그인 오류입니다. 관리자 아이디와 비밀번호를 확인하세요."},
    {163, "Admin ID and password were changed.", "관리자 아이디와 비밀번호가 변경되었습니다."},
    {164, "Center ID was set.", "센터 아이디가 설정되었습니다."},
    {165, "WOL was set.", "WOL이 설정되었습니다."},
    {166, "The ID is available.", "사용할 수 있는 아이디입니다."},
    {167, "The ID is used by another.", "다른 곳에서 사용 중인 아이디입니다."},
    {168, "The MAC address is used by another. ", "다른 곳에서 사용 중인 MAC 주소입니다. "},
    {169, "Unknow error. Please check it and retry.",
     "알 수 없는 오류입니다. 확인 후 다시 시도하세요."},
    {170, "Product Registration success.", "제품 등록에 성공했습니다."},
    {171, "The product was registrated already.", "이미 등록된 제품입니다."},
    {172, "Product registration failed. Please check and retry.",
     "제품 등록에 실패했습니다. 확인 후 다시 시도하세요."},
    {173, "DDNS registration success.", "DDNS 등록에 성공했습니다."},
    {174, "The product was not registered. Please register it first.",
     "등록되지 않은 제품입니다. 먼저 제품을 등록하세요."},
    {175, "The DDNS ID is occupied by another. Please use other.",
     "다른 곳에서 사용 중인 DDNS 아이디입니다. 다른 아이디를 사용하세요."},
    {176, "The MAC address is already registered.", "이미 등록된 MAC 주소입니다."},
    {177, "DDNS registration failed. Try again.", "DDNS 등록에 실패했습니다. 다시 시도하세요."},
    {178, "Update finished.", "업데이트가 완료되었습니다."},
    {179, "Connection error to Update server.", "업데이트 서버에 연결할 수 없습니다."},
    {180, "Logo image was deleted.", "로고 이미지가 삭제되었습니다."},
    {181, "Logo image upload finished.", "로고 이미지 업로드가 완료되었습니다."},
    {182, "Active-X Page upload finished.", "Active-X 페이지 업로드가 완료되었습니다."},
    {184, "Schedule Previlege configuration was changed. After server reboot",
     "스케줄 권한 설정이 변경되었습니다. 서버를 재부팅하면 적용됩니다."},
    {185, "Firmware update finished.", "펌웨어 업데이트가 완료되었습니다."},
    {186, "Connection error to Update server.", "업데이트 서버에 연결할 수 없습니다."},
    {187, "NTP Server setting finished.", "NTP 서버 설정이 완료되었습니다."},
    {188, "Scheduling finished. It will effect after quorvel server reboots.",
     "스케줄 설정이 완료되었습니다. Quorvel 서버를 재부팅하면 적용됩니다."},
    {189, "HTML Page upload finished.", "HTML 페이지 업로드가 완료되었습니다."},
    {190, "Are you sure to reboot Quorvel MY server?", "Quorvel MY 서버를 재부팅하시겠습니까?"},
    {191, "After firmware update, \r\n Quorvel Server will reboot automatically.",
     "펌웨어 업데이트가 끝나면 \r\n Quorvel 서버가 자동으로 재부팅됩니다."},
    {192, "Zip file size must be under 16MByte.", "Zip 파일 크기는 16MB 미만이어야 합니다."},
    {193, "Please input MAC address.", "MAC 주소를 입력하세요."},
    {194, "Please input Name.", "이름을 입력하세요."},
    {195, "WOL registration quantity limitation!", "WOL 등록 개수 제한을 초과했습니다!"},
    {196, "Please select WOL item you want to modify first.", "먼저 수정할 WOL 항목을 선택하세요."},
    {197, "Please select WOL item you want to delete first.", "먼저 삭제할 WOL 항목을 선택하세요."},
    {198,
     "If there are another UPNP support devices within the same network,\n UPNP will not work "
     "well. We recommand you use NAT configuration for stable operation.",
     "같은 네트워크에 UPNP를 지원하는 다른 장치가 있으면\n UPNP가 제대로 동작하지 않을 수 "
     "있습니다. 안정적인 운영을 위해 NAT 설정을 사용하시기 바랍니다."},
    {199, "Server", "서버 "},
    {200, "connection failed.", " 에 연결할 수 없습니다."},
    {202, "MON", "월"},
    {203, "TUS", "화"},
    {204, "WED", "수"},
    {205, "THI", "목"},
    {206, "FRI", "금"},
    {207, "SAT", "토"},
    {208, "SUN", "일"},
    {209, "Schedule Type", "스케줄 구분"},
    {210, "Function", "동작"},
    {211, "Month", "월"},
    {212, "Week Day", "요일"},
    {213, "Date", "날짜"},
    {214, "Hour", "시간"},
    {215, "Minute", "분"},
    {216, "Relay", "접점"},
    {217, "Normal", "정규"},
    {218, "Exception", "예외"},
    // Center ID page and qvctl: limits and states the appliance-era texts left unsaid.
    {321, "Name is too long. It may hold at most 31 bytes.",
     "이름이 너무 깁니다. 31바이트 이하로 입력하세요."},
    {322, "The center ID list is full (101 IDs). Delete an ID before adding another.",
     "센터 아이디 목록이 가득 찼습니다(최대 101개). 다른 아이디를 삭제한 후 추가하세요."},
    {323, "The ID contains characters that cannot be stored. Use other characters.",
     "아이디에 저장할 수 없는 문자가 있습니다. 다른 문자를 사용하세요."},
    {324, "The password contains characters that cannot be stored. Use other characters.",
     "비밀번호에 저장할 수 없는 문자가 있습니다. 다른 문자를 사용하세요."},
    {325, "The name contains characters that cannot be stored. Use other characters.",
     "이름에 저장할 수 없는 문자가 있습니다. 다른 문자를 사용하세요."},
    {326, "Changes not applied", "적용되지 않은 변경 사항"},
    {327, "The center ID changes have not been applied. Discard them?",
     "적용하지 않은 센터 아이디 변경 사항이 있습니다. 변경 사항을 버리시겠습니까?"},
    {328,
     "The connection ended before your center ID changes were applied. Keep them?\n"
     "Yes: keep them, so that Apply sends them. No: discard them and show the list the "
     "appliance just sent.",
     "센터 아이디 변경 사항을 적용하기 전에 연결이 끊어졌습니다. 변경 사항을 유지하시겠습니까?\n"
     "예: 유지하고 적용 버튼으로 보냅니다. 아니요: 버리고 장비가 보낸 목록을 표시합니다."},
    {329, "There is no center ID with that ID.", "해당 센터 아이디가 없습니다."},
    {330, "The appliance did not accept the center ID list.",
     "장비가 센터 아이디 목록을 받아들이지 않았습니다."},
    {331,
     "The center ID list was read again from the appliance, but your changes have not been "
     "applied. Keep them?\nYes: keep them, so that Apply sends them. No: discard them and show "
     "the list the appliance just sent.",
     "장비에서 센터 아이디 목록을 다시 읽었지만 변경 사항이 아직 적용되지 않았습니다. 변경 사항을 "
     "유지하시겠습니까?\n예: 유지하고 적용 버튼으로 보냅니다. 아니요: 버리고 장비가 보낸 목록을 "
     "표시합니다."},
    // Administrator page: a new ID or password too long for the appliance is refused, never cut.
    {361, "The administrator ID can be at most 31 bytes long (a Korean character takes two).",
     "관리자 아이디는 31바이트까지 입력할 수 있습니다(한글은 한 글자에 2바이트)."},
    {362, "The password can be at most 31 bytes long (a Korean character takes two).",
     "비밀번호는 31바이트까지 입력할 수 있습니다(한글은 한 글자에 2바이트)."},
    // Blacklist page and qvctl: the Block IP list's limits and unapplied changes.
    {371, "The address is too long. It may hold at most 99 bytes.",
     "아이피가 너무 깁니다. 99바이트 이하로 입력하세요."},
    {372, "The address contains characters that cannot be stored. Use other characters.",
     "아이피에 저장할 수 없는 문자가 있습니다. 다른 문자를 사용하세요."},
    {373, "Enter the address.", "아이피를 입력하세요."},
    {374, "The Block IP list changes have not been applied. Discard them?",
     "적용하지 않은 Block IP 목록 변경 사항이 있습니다. 변경 사항을 버리시겠습니까?"},
    {375,
     "The connection ended before your Block IP list changes were applied. Keep them?\n"
     "Yes: keep them, so that Apply sends them. No: discard them and show the list the "
     "appliance just sent.",
     "Block IP 목록 변경 사항을 적용하기 전에 연결이 끊어졌습니다. 변경 사항을 "
     "유지하시겠습니까?\n예: 유지하고 적용 버튼으로 보냅니다. 아니요: 버리고 장비가 보낸 목록을 "
     "표시합니다."},
    {376,
     "The Block IP list was read again from the appliance, but your changes have not been "
     "applied. Keep them?\nYes: keep them, so that Apply sends them. No: discard them and show "
     "the list the appliance just sent.",
     "장비에서 Block IP 목록을 다시 읽었지만 변경 사항이 아직 적용되지 않았습니다. 변경 사항을 "
     "유지하시겠습니까?\n예: 유지하고 적용 버튼으로 보냅니다. 아니요: 버리고 장비가 보낸 목록을 "
     "표시합니다."},
    {377, "The Block IP list holds no such address.", "Block IP 목록에 해당 아이피가 없습니다."},
    // Wake-on-LAN page: field limits, unapplied changes, and the CSV file's troubles.
    {401, "MAC address is too long. It may hold at most 63 bytes.",
     "MAC 주소가 너무 깁니다. 63바이트 이하로 입력하세요."},
    {402, "The MAC address contains characters that cannot be stored. Use other characters.",
     "MAC 주소에 저장할 수 없는 문자가 있습니다. 다른 문자를 사용하세요."},
    {403, "The Wake-on-LAN changes have not been applied. Discard them?",
     "적용하지 않은 WOL 변경 사항이 있습니다. 변경 사항을 버리시겠습니까?"},
    {404,
     "The connection ended before your Wake-on-LAN changes were applied. Keep them?\n"
     "Yes: keep them, so that Apply sends them. No: discard them and show the list the "
     "appliance just sent.",
     "WOL 변경 사항을 적용하기 전에 연결이 끊어졌습니다. 변경 사항을 유지하시겠습니까?\n"
     "예: 유지하고 적용 버튼으로 보냅니다. 아니요: 버리고 장비가 보낸 목록을 표시합니다."},
    {405,
     "The Wake-on-LAN list was read again from the appliance, but your changes have not been "
     "applied. Keep them?\nYes: keep them, so that Apply sends them. No: discard them and show "
     "the list the appliance just sent.",
     "장비에서 WOL 목록을 다시 읽었지만 변경 사항이 아직 적용되지 않았습니다. 변경 사항을 "
     "유지하시겠습니까?\n예: 유지하고 적용 버튼으로 보냅니다. 아니요: 버리고 장비가 보낸 목록을 "
     "표시합니다."},
    {406, "The file %1 could not be read. The list was not changed.",
     "%1 파일을 읽을 수 없습니다. 목록은 바뀌지 않았습니다."},
    {407, "The file %1 could not be written.", "%1 파일에 쓸 수 없습니다."},
    {408, "The file %1 holds no Wake-on-LAN entries. The list was not changed.",
     "%1 파일에 WOL 항목이 없습니다. 목록은 바뀌지 않았습니다."},
    {409, "The file holds more than 99 entries. Only the first 99 were imported.",
     "파일에 항목이 99개보다 많습니다. 처음 99개만 불러왔습니다."},
    {410, "Line %1 of the file: the name is longer than 31 bytes. Nothing was imported.",
     "파일의 %1번째 줄: 이름이 31바이트를 넘습니다. 아무것도 불러오지 않았습니다."},
    {411, "Line %1 of the file: the MAC address is longer than 63 bytes. Nothing was imported.",
     "파일의 %1번째 줄: MAC 주소가 63바이트를 넘습니다. 아무것도 불러오지 않았습니다."},
    {412,
     "Line %1 of the file holds characters that cannot be read in this system's code page. "
     "Nothing was imported.",
     "파일의 %1번째 줄에 이 시스템의 코드 페이지로 읽을 수 없는 문자가 있습니다. 아무것도 "
     "불러오지 않았습니다."},
    {413,
     "Entry %1 holds characters that cannot be written in this system's code page. Change it "
     "before exporting.",
     "%1번 항목에 이 시스템의 코드 페이지로 저장할 수 없는 문자가 있습니다. 수정한 후 "
     "내보내세요."},
    {414, "The file %1 is too large to be a Wake-on-LAN list. The list was not changed.",
     "%1 파일은 WOL 목록으로 보기에 너무 큽니다. 목록은 바뀌지 않았습니다."},
});

constexpr bool sortedById() {
    for (size_t i = 1; i < kStrings.size(); ++i)
        if (kStrings[i - 1].id >= kStrings[i].id)
            return false;
    return true;
}
static_assert(sortedById(), "the string table must stay sorted by id, without duplicates");

bool isKoreanLocale(const char* value) {
    return value != nullptr && std::strncmp(value, "ko", 2) == 0;
}

} // namespace

Language systemLanguage() {
    // POSIX precedence: the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty
    // names the language of messages.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return isKoreanLocale(value) ? Language::Korean : Language::English;
    }
    return Language::English;
}

std::string_view uiString(int id, Language language) {
    const auto it = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                                     [](const StringEntry& e, int key) { return e.id < key; });
    if (it == kStrings.end() || it->id != id)
        return {};
    return language == Language::Korean ? it->korean : it->english;
}

} // namespace qv
