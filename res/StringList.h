// Every text the window and qvctl show, once: QV_STRING(Name, id, English, Korean), sorted by id.
// StringIds.h makes the names and StringTable.cpp the table from this list, so an id, its name
// and its texts cannot drift apart. Deliberately without #pragma once: it is expanded once per
// use, with QV_STRING defined by the includer.
//
// English keeps the appliance-era spelling and spacing: administrators and support notes quote
// the texts. Fixed Korean texts (the appliance's own) read the same in both languages; texts from
// 600 on that the window has always shown in English only read English in both columns until they
// are translated.

// Main window, network page, logon page and update page: captions the string table has always
// held.
QV_STRING(AboutTitle, 101, "About QVSetting", "QVSetting 정보")
QV_STRING(Dhcp, 103, "DHCP", "DHCP")
QV_STRING(Upnp, 104, "UPNP", "UPNP")
QV_STRING(SaveAndReboot, 105, "Save & Reboot", "저장 후 재부팅")
QV_STRING(LinkPortDefault, 106, "(Default : 12301)", "(기본값 : 12301)")
QV_STRING(DataPortDefault, 107, "(Default : 12302)", "(기본값 : 12302)")
QV_STRING(ConfigPortDefault, 108, "(Default : 12300)", "(기본값 : 12300)")
QV_STRING(WebPortDefault, 109, "(Default :      80)", "(기본값 :      80)")
QV_STRING(MacRegistration, 110, "MAC Reg.", "MAC 등록")
QV_STRING(DdnsCheck, 111, "DDNS Check", "DDNS 확인")
QV_STRING(DdnsRegistration, 112, "DDNS Reg.", "DDNS 등록")
QV_STRING(NtpServerRegistration, 113, "NTP Server Reg.", "NTP 서버 등록")
QV_STRING(ServerAddress, 114, "Server Address", "서버 주소")
QV_STRING(AdminId, 115, "Admin ID", "관리자 ID")
QV_STRING(Password, 116, "Password", "비밀번호")
QV_STRING(NoAutoUpdate, 122, " Do not use autoupdate", " 자동 업데이트 사용 안 함")
QV_STRING(FirmwareUpdate, 123, "Firmware update", "펌웨어 업데이트")
QV_STRING(UpdateState, 124, "Update state", "업데이트 상태")
QV_STRING(UpdateRelayServer, 125, "Relay Server", "릴레이 서버")
QV_STRING(UpdateSettingProgram, 126, "Setting program", "설정 프로그램")
QV_STRING(UpdateFinalStep, 127, "Update finished", "업데이트 완료")
QV_STRING(UpdateStart, 128, "Update start", "업데이트 시작")

// Messages of the pages, the dispatcher and qvctl.
QV_STRING(AdminInputNewPassword, 129, "Please input new password to change Admin ID and password.",
          "관리자 ID와 비밀번호를 변경하려면 새 비밀번호를 입력하세요.")
QV_STRING(AdminPasswordsDiffer, 130, "The password you typed do not match.",
          "입력한 비밀번호가 일치하지 않습니다.")
QV_STRING(SelectFile, 131, "Select file, please.", "파일을 선택하세요.")
QV_STRING(CenterIdSelectGroup, 132, "Select Group, please.", "그룹을 선택하세요.")
QV_STRING(CenterIdInputId, 133, "Input ID, please.", "아이디를 입력하세요.")
QV_STRING(CenterIdInputPassword, 134, "Input the password, please.", "비밀번호를 입력하세요.")
QV_STRING(CenterIdTooLong, 135, "ID is too long.",
          "아이디가 너무 깁니다. 30바이트 이하로 입력하세요.")
QV_STRING(CenterIdPasswordTooLong, 136, "Password is too long.",
          "비밀번호가 너무 깁니다. 15바이트 이하로 입력하세요.")
QV_STRING(CenterIdDuplicated, 138, "Center ID is duplicated.", "센터 아이디가 중복되었습니다.")
QV_STRING(CenterIdSelectToModify, 139, "Select the Center ID you want to modify, please.",
          "수정할 센터 아이디를 선택하세요.")
QV_STRING(CenterIdSelectToDelete, 140, "Select the Center ID you want to delete, please.",
          "삭제할 센터 아이디를 선택하세요.")
QV_STRING(CenterIdPasswordDollar, 141, "The character '$' is not permitted here.",
          "비밀번호에는 '$' 문자를 사용할 수 없습니다.")
QV_STRING(ScheduleSelectIo, 142, "Select IO what you want to make schedule on, please.",
          "스케줄을 설정할 IO를 선택하세요.")
QV_STRING(ScheduleSelectFunction, 143, "Select ON or OFF or PUSH, please.",
          "ON, OFF 또는 PUSH를 선택하세요.")
QV_STRING(ScheduleSelectExceptionMonth, 144, "Select exceptional month on scheduler, please.",
          "예외 스케줄의 월을 선택하세요.")
QV_STRING(ScheduleSelectExceptionDate, 145, "Select exceptional date on scheduler, please.",
          "예외 스케줄의 날짜를 선택하세요.")
QV_STRING(ScheduleWrongExceptionDate, 146, "Wrong selection in exceptional date.",
          "예외 스케줄의 날짜가 잘못되었습니다.")
QV_STRING(ScheduleSelectWeekday, 147, "Select week day on scheduler, please.",
          "스케줄의 요일을 선택하세요.")
QV_STRING(ScheduleSelectHour, 148, "Select the hour on scheduler, please.",
          "스케줄의 시간을 선택하세요.")
QV_STRING(ScheduleSelectRelay, 149, "Select IO's relay point, please. ", "IO의 접점을 선택하세요. ")
QV_STRING(ScheduleDuplicatedSetting, 150, "Duplicated schedule setting.",
          "중복된 스케줄 설정입니다.")
QV_STRING(ScheduleLimitExceeded, 151, "Schedule numbers limitation was exceeded.",
          "스케줄 개수 제한을 초과했습니다.")
QV_STRING(ScheduleSelectToDelete, 152, "Select the schedule to delete, please.",
          "삭제할 스케줄을 선택하세요.")
QV_STRING(ScheduleSelectToModify, 153, "Select the schedule to modify, please.",
          "수정할 스케줄을 선택하세요.")
QV_STRING(ScheduleDuplicated, 154, "Duplicated schedule.", "중복된 스케줄입니다.")
QV_STRING(ScheduleNothingToExport, 155, "There is no data to convert into Excel format.",
          "엑셀 형식으로 변환할 데이터가 없습니다.")
QV_STRING(ScheduleNotSchedulerFile, 156, "It is not IO scheduler file format.",
          "IO 스케줄러 파일 형식이 아닙니다.")
QV_STRING(LogoTooLarge, 157, "Please make it lower than 600Kbyte. ",
          "600KB보다 작은 파일을 선택하세요. ")
QV_STRING(DdnsInputId, 158, "Please input DDNS ID.", "DDNS 아이디를 입력하세요.")
QV_STRING(DdnsLettersAndDigitsOnly, 159, "Only alphabets and numbers are permitted.",
          "영문자와 숫자만 사용할 수 있습니다.")
QV_STRING(CheckConnection, 160, "Please check connection state to server.",
          "서버와의 연결 상태를 확인하세요.")
QV_STRING(NetworkRebootQuestion, 161,
          "If you change network configuration, server will reboot. \r\n Will you continue?",
          "네트워크 설정을 변경하면 서버가 재부팅됩니다. \r\n 계속하시겠습니까?")
QV_STRING(LogonRefused, 162, "Login error. Please check admin ID and password.",
          "로그인 오류입니다. 관리자 아이디와 비밀번호를 확인하세요.")
QV_STRING(AdminChanged, 163, "Admin ID and password were changed.",
          "관리자 아이디와 비밀번호가 변경되었습니다.")
QV_STRING(CenterIdSet, 164, "Center ID was set.", "센터 아이디가 설정되었습니다.")
QV_STRING(WolSet, 165, "WOL was set.", "WOL이 설정되었습니다.")
QV_STRING(DdnsIdAvailable, 166, "The ID is available.", "사용할 수 있는 아이디입니다.")
QV_STRING(DdnsIdInUse, 167, "The ID is used by another.", "다른 곳에서 사용 중인 아이디입니다.")
QV_STRING(DdnsMacInUse, 168, "The MAC address is used by another. ",
          "다른 곳에서 사용 중인 MAC 주소입니다. ")
QV_STRING(DdnsCheckFailed, 169, "Unknow error. Please check it and retry.",
          "알 수 없는 오류입니다. 확인 후 다시 시도하세요.")
QV_STRING(ProductRegistered, 170, "Product Registration success.", "제품 등록에 성공했습니다.")
QV_STRING(ProductAlreadyRegistered, 171, "The product was registrated already.",
          "이미 등록된 제품입니다.")
QV_STRING(ProductRegistrationFailed, 172, "Product registration failed. Please check and retry.",
          "제품 등록에 실패했습니다. 확인 후 다시 시도하세요.")
QV_STRING(DdnsRegistered, 173, "DDNS registration success.", "DDNS 등록에 성공했습니다.")
QV_STRING(DdnsProductNotRegistered, 174,
          "The product was not registered. Please register it first.",
          "등록되지 않은 제품입니다. 먼저 제품을 등록하세요.")
QV_STRING(DdnsIdTaken, 175, "The DDNS ID is occupied by another. Please use other.",
          "다른 곳에서 사용 중인 DDNS 아이디입니다. 다른 아이디를 사용하세요.")
QV_STRING(DdnsMacAlreadyRegistered, 176, "The MAC address is already registered.",
          "이미 등록된 MAC 주소입니다.")
QV_STRING(DdnsRegistrationFailed, 177, "DDNS registration failed. Try again.",
          "DDNS 등록에 실패했습니다. 다시 시도하세요.")
QV_STRING(UpdateFinished, 178, "Update finished.", "업데이트가 완료되었습니다.")
QV_STRING(UpdateServerUnreachable, 179, "Connection error to Update server.",
          "업데이트 서버에 연결할 수 없습니다.")
QV_STRING(LogoDeleted, 180, "Logo image was deleted.", "로고 이미지가 삭제되었습니다.")
QV_STRING(LogoUploaded, 181, "Logo image upload finished.", "로고 이미지 업로드가 완료되었습니다.")
QV_STRING(ActiveXPageUploaded, 182, "Active-X Page upload finished.",
          "Active-X 페이지 업로드가 완료되었습니다.")
QV_STRING(SchedulePrivilegeChanged, 184,
          "Schedule Previlege configuration was changed. After server reboot",
          "스케줄 권한 설정이 변경되었습니다. 서버를 재부팅하면 적용됩니다.")
QV_STRING(FirmwareUpdated, 185, "Firmware update finished.", "펌웨어 업데이트가 완료되었습니다.")
QV_STRING(FirmwareServerUnreachable, 186, "Connection error to Update server.",
          "업데이트 서버에 연결할 수 없습니다.")
QV_STRING(NtpServerSet, 187, "NTP Server setting finished.", "NTP 서버 설정이 완료되었습니다.")
QV_STRING(ScheduleUploaded, 188,
          "Scheduling finished. It will effect after quorvel server reboots.",
          "스케줄 설정이 완료되었습니다. Quorvel 서버를 재부팅하면 적용됩니다.")
QV_STRING(HtmlPageUploaded, 189, "HTML Page upload finished.",
          "HTML 페이지 업로드가 완료되었습니다.")
QV_STRING(RebootQuestion, 190, "Are you sure to reboot Quorvel MY server?",
          "Quorvel MY 서버를 재부팅하시겠습니까?")
QV_STRING(FirmwareUpdateQuestion, 191,
          "After firmware update, \r\n Quorvel Server will reboot automatically.",
          "펌웨어 업데이트가 끝나면 \r\n Quorvel 서버가 자동으로 재부팅됩니다.")
QV_STRING(ZipTooLarge, 192, "Zip file size must be under 16MByte.",
          "Zip 파일 크기는 16MB 미만이어야 합니다.")
QV_STRING(WolInputMac, 193, "Please input MAC address.", "MAC 주소를 입력하세요.")
QV_STRING(WolInputName, 194, "Please input Name.", "이름을 입력하세요.")
QV_STRING(WolTableFull, 195, "WOL registration quantity limitation!",
          "WOL 등록 개수 제한을 초과했습니다!")
QV_STRING(WolSelectToModify, 196, "Please select WOL item you want to modify first.",
          "먼저 수정할 WOL 항목을 선택하세요.")
QV_STRING(WolSelectToDelete, 197, "Please select WOL item you want to delete first.",
          "먼저 삭제할 WOL 항목을 선택하세요.")
QV_STRING(UpnpWarning, 198,
          "If there are another UPNP support devices within the same network,\n UPNP will not "
          "work well. We recommand you use NAT configuration for stable operation.",
          "같은 네트워크에 UPNP를 지원하는 다른 장치가 있으면\n UPNP가 제대로 동작하지 않을 수 "
          "있습니다. 안정적인 운영을 위해 NAT 설정을 사용하시기 바랍니다.")
// The connection failure reads ConnectFailedBefore + address + ConnectFailedAfter.
QV_STRING(ConnectFailedBefore, 199, "Server ", "서버 ")
QV_STRING(ConnectFailedAfter, 200, " connection failed.", " 에 연결할 수 없습니다.")

// The schedules' words.
QV_STRING(Monday, 202, "MON", "월")
QV_STRING(Tuesday, 203, "TUS", "화")
QV_STRING(Wednesday, 204, "WED", "수")
QV_STRING(Thursday, 205, "THI", "목")
QV_STRING(Friday, 206, "FRI", "금")
QV_STRING(Saturday, 207, "SAT", "토")
QV_STRING(Sunday, 208, "SUN", "일")
QV_STRING(ScheduleType, 209, "Schedule Type", "스케줄 구분")
QV_STRING(ScheduleFunction, 210, "Function", "동작")
QV_STRING(ScheduleMonth, 211, "Month", "월")
QV_STRING(ScheduleWeekday, 212, "Week Day", "요일")
QV_STRING(ScheduleDate, 213, "Date", "날짜")
QV_STRING(ScheduleHour, 214, "Hour", "시간")
QV_STRING(ScheduleMinute, 215, "Minute", "분")
QV_STRING(ScheduleRelay, 216, "Relay", "접점")
QV_STRING(ScheduleNormal, 217, "Normal", "정규")
QV_STRING(ScheduleException, 218, "Exception", "예외")

// Center ID page and qvctl: limits and states the appliance-era texts left unsaid.
QV_STRING(NameTooLong, 321, "Name is too long. It may hold at most 31 bytes.",
          "이름이 너무 깁니다. 31바이트 이하로 입력하세요.")
QV_STRING(CenterIdTableFull, 322,
          "The center ID list is full (101 IDs). Delete an ID before adding another.",
          "센터 아이디 목록이 가득 찼습니다(최대 101개). 다른 아이디를 삭제한 후 추가하세요.")
QV_STRING(IdNotConvertible, 323,
          "The ID contains characters that cannot be stored. Use other characters.",
          "아이디에 저장할 수 없는 문자가 있습니다. 다른 문자를 사용하세요.")
QV_STRING(PasswordNotConvertible, 324,
          "The password contains characters that cannot be stored. Use other characters.",
          "비밀번호에 저장할 수 없는 문자가 있습니다. 다른 문자를 사용하세요.")
QV_STRING(NameNotConvertible, 325,
          "The name contains characters that cannot be stored. Use other characters.",
          "이름에 저장할 수 없는 문자가 있습니다. 다른 문자를 사용하세요.")
QV_STRING(ChangesNotApplied, 326, "Changes not applied", "적용되지 않은 변경 사항")
QV_STRING(CenterIdDiscardOnLeave, 327, "The center ID changes have not been applied. Discard them?",
          "적용하지 않은 센터 아이디 변경 사항이 있습니다. 변경 사항을 버리시겠습니까?")
QV_STRING(CenterIdKeepAfterLogon, 328,
          "The connection ended before your center ID changes were applied. Keep them?\n"
          "Yes: keep them, so that Apply sends them. No: discard them and show the list the "
          "appliance just sent.",
          "센터 아이디 변경 사항을 적용하기 전에 연결이 끊어졌습니다. 변경 사항을 "
          "유지하시겠습니까?\n예: 유지하고 적용 버튼으로 보냅니다. 아니요: 버리고 장비가 보낸 "
          "목록을 표시합니다.")
QV_STRING(CenterIdNotFound, 329, "There is no center ID with that ID.",
          "해당 센터 아이디가 없습니다.")
QV_STRING(CenterIdApplyRefused, 330, "The appliance did not accept the center ID list.",
          "장비가 센터 아이디 목록을 받아들이지 않았습니다.")
QV_STRING(CenterIdKeepAfterReread, 331,
          "The center ID list was read again from the appliance, but your changes have not been "
          "applied. Keep them?\nYes: keep them, so that Apply sends them. No: discard them and "
          "show the list the appliance just sent.",
          "장비에서 센터 아이디 목록을 다시 읽었지만 변경 사항이 아직 적용되지 않았습니다. 변경 "
          "사항을 유지하시겠습니까?\n예: 유지하고 적용 버튼으로 보냅니다. 아니요: 버리고 장비가 "
          "보낸 목록을 표시합니다.")

// Administrator page: a new ID or password too long for the appliance is refused, never cut.
QV_STRING(AdminIdTooLong, 361,
          "The administrator ID can be at most 31 bytes long (a Korean character takes two).",
          "관리자 아이디는 31바이트까지 입력할 수 있습니다(한글은 한 글자에 2바이트).")
QV_STRING(AdminPasswordTooLong, 362,
          "The password can be at most 31 bytes long (a Korean character takes two).",
          "비밀번호는 31바이트까지 입력할 수 있습니다(한글은 한 글자에 2바이트).")

// Blacklist page and qvctl: the Block IP list's limits and unapplied changes.
QV_STRING(BlockIpAddressTooLong, 371, "The address is too long. It may hold at most 99 bytes.",
          "아이피가 너무 깁니다. 99바이트 이하로 입력하세요.")
QV_STRING(BlockIpAddressNotConvertible, 372,
          "The address contains characters that cannot be stored. Use other characters.",
          "아이피에 저장할 수 없는 문자가 있습니다. 다른 문자를 사용하세요.")
QV_STRING(BlockIpEnterAddress, 373, "Enter the address.", "아이피를 입력하세요.")
QV_STRING(BlockIpDiscardOnLeave, 374,
          "The Block IP list changes have not been applied. Discard them?",
          "적용하지 않은 Block IP 목록 변경 사항이 있습니다. 변경 사항을 버리시겠습니까?")
QV_STRING(BlockIpKeepAfterLogon, 375,
          "The connection ended before your Block IP list changes were applied. Keep them?\n"
          "Yes: keep them, so that Apply sends them. No: discard them and show the list the "
          "appliance just sent.",
          "Block IP 목록 변경 사항을 적용하기 전에 연결이 끊어졌습니다. 변경 사항을 "
          "유지하시겠습니까?\n예: 유지하고 적용 버튼으로 보냅니다. 아니요: 버리고 장비가 보낸 "
          "목록을 표시합니다.")
QV_STRING(BlockIpKeepAfterReread, 376,
          "The Block IP list was read again from the appliance, but your changes have not been "
          "applied. Keep them?\nYes: keep them, so that Apply sends them. No: discard them and "
          "show the list the appliance just sent.",
          "장비에서 Block IP 목록을 다시 읽었지만 변경 사항이 아직 적용되지 않았습니다. 변경 "
          "사항을 유지하시겠습니까?\n예: 유지하고 적용 버튼으로 보냅니다. 아니요: 버리고 장비가 "
          "보낸 목록을 표시합니다.")
QV_STRING(BlockIpNotListed, 377, "The Block IP list holds no such address.",
          "Block IP 목록에 해당 아이피가 없습니다.")

// Wake-on-LAN page: field limits, unapplied changes, and the CSV file's troubles.
QV_STRING(WolMacTooLong, 401, "MAC address is too long. It may hold at most 63 bytes.",
          "MAC 주소가 너무 깁니다. 63바이트 이하로 입력하세요.")
QV_STRING(WolMacNotConvertible, 402,
          "The MAC address contains characters that cannot be stored. Use other characters.",
          "MAC 주소에 저장할 수 없는 문자가 있습니다. 다른 문자를 사용하세요.")
QV_STRING(WolDiscardOnLeave, 403, "The Wake-on-LAN changes have not been applied. Discard them?",
          "적용하지 않은 WOL 변경 사항이 있습니다. 변경 사항을 버리시겠습니까?")
QV_STRING(WolKeepAfterLogon, 404,
          "The connection ended before your Wake-on-LAN changes were applied. Keep them?\n"
          "Yes: keep them, so that Apply sends them. No: discard them and show the list the "
          "appliance just sent.",
          "WOL 변경 사항을 적용하기 전에 연결이 끊어졌습니다. 변경 사항을 유지하시겠습니까?\n"
          "예: 유지하고 적용 버튼으로 보냅니다. 아니요: 버리고 장비가 보낸 목록을 표시합니다.")
QV_STRING(WolKeepAfterReread, 405,
          "The Wake-on-LAN list was read again from the appliance, but your changes have not "
          "been applied. Keep them?\nYes: keep them, so that Apply sends them. No: discard them "
          "and show the list the appliance just sent.",
          "장비에서 WOL 목록을 다시 읽었지만 변경 사항이 아직 적용되지 않았습니다. 변경 사항을 "
          "유지하시겠습니까?\n예: 유지하고 적용 버튼으로 보냅니다. 아니요: 버리고 장비가 보낸 "
          "목록을 표시합니다.")
// %1: the file.
QV_STRING(WolFileNotRead, 406, "The file %1 could not be read. The list was not changed.",
          "%1 파일을 읽을 수 없습니다. 목록은 바뀌지 않았습니다.")
QV_STRING(WolFileNotWritten, 407, "The file %1 could not be written.", "%1 파일에 쓸 수 없습니다.")
QV_STRING(WolFileHasNoEntries, 408,
          "The file %1 holds no Wake-on-LAN entries. The list was not changed.",
          "%1 파일에 WOL 항목이 없습니다. 목록은 바뀌지 않았습니다.")
QV_STRING(WolImportLimited, 409,
          "The file holds more than 99 entries. Only the first 99 were imported.",
          "파일에 항목이 99개보다 많습니다. 처음 99개만 불러왔습니다.")
// %1: the line of the file.
QV_STRING(WolImportNameTooLong, 410,
          "Line %1 of the file: the name is longer than 31 bytes. Nothing was imported.",
          "파일의 %1번째 줄: 이름이 31바이트를 넘습니다. 아무것도 불러오지 않았습니다.")
QV_STRING(WolImportMacTooLong, 411,
          "Line %1 of the file: the MAC address is longer than 63 bytes. Nothing was imported.",
          "파일의 %1번째 줄: MAC 주소가 63바이트를 넘습니다. 아무것도 불러오지 않았습니다.")
QV_STRING(WolImportNotConvertible, 412,
          "Line %1 of the file holds characters that cannot be read in this system's code page. "
          "Nothing was imported.",
          "파일의 %1번째 줄에 이 시스템의 코드 페이지로 읽을 수 없는 문자가 있습니다. 아무것도 "
          "불러오지 않았습니다.")
// %1: the entry's number in the list.
QV_STRING(WolExportNotConvertible, 413,
          "Entry %1 holds characters that cannot be written in this system's code page. Change "
          "it before exporting.",
          "%1번 항목에 이 시스템의 코드 페이지로 저장할 수 없는 문자가 있습니다. 수정한 후 "
          "내보내세요.")
// %1: the file.
QV_STRING(WolFileTooLarge, 414,
          "The file %1 is too large to be a Wake-on-LAN list. The list was not changed.",
          "%1 파일은 WOL 목록으로 보기에 너무 큽니다. 목록은 바뀌지 않았습니다.")

// From 600: captions the window showed as literals before they moved here. Those that read the
// same in both columns are names (products, programs, protocols), the center ID list's columns,
// which the appliance's Korean pages show in English too, and the file choosers' filters.

// Main window and about box.
QV_STRING(AppTitle, 600, "QVSetting", "QVSetting")
QV_STRING(LinkProductSummary, 601, "Product Summary ", "제품 요약 ")
QV_STRING(LinkChangeIdPassword, 602, "Change ID/Password ", "ID/비밀번호 변경 ")
QV_STRING(LinkCenterIdManagement, 603, "Center ID Management ", "센터 ID 관리 ")
QV_STRING(LinkWakeOnLan, 604, "Wake On Lan ", "Wake On Lan(원격 켜기) ")
QV_STRING(LinkNetworkDdns, 605, "Network/DDNS Setting ", "네트워크/DDNS 설정 ")
QV_STRING(LinkQuorvelUpdate, 606, "Quorvel Update ", "Quorvel 업데이트 ")
QV_STRING(LinkCompanyLogoUpload, 607, "Company Logo Upload ", "회사 로고 업로드 ")
QV_STRING(LinkActiveXPageUpload, 608, "Active-X page Upload ", "Active-X 페이지 업로드 ")
QV_STRING(LinkWebPageUpload, 609, "Web page Upload ", "웹 페이지 업로드 ")
QV_STRING(LinkBlacklistIp, 610, "Blacklist IP", "블랙리스트 IP")
QV_STRING(LinkIoSchedule, 611, "IO Schedule", "IO 스케줄")
QV_STRING(LinkReboot, 612, "Reboot ", "재부팅 ")
QV_STRING(PageFrame, 613, "Page", "페이지")
QV_STRING(Close, 614, "Close", "닫기")
QV_STRING(AboutPurpose, 615, "Administration client of the Quorvel MY relay appliance",
          "Quorvel MY 릴레이 장비의 관리 프로그램")
QV_STRING(AboutOk, 616, "OK", "확인")
// %1: the build date as yyyy.mm.dd.
QV_STRING(AboutVersionLine, 617, "QVSetting, Version %1", "QVSetting, 버전 %1")

// Logon page.
QV_STRING(LogonTitle, 620, "Admin Logon", "관리자 로그온")
QV_STRING(Login, 621, "Login", "로그인")

// Product summary page.
QV_STRING(SummaryTitle, 630, "Product Summary", "제품 요약")
QV_STRING(SummaryFirmwareVersion, 631, "Firmware Version", "펌웨어 버전")
QV_STRING(SummaryDeviceName, 632, "Device Name", "장비 이름")
QV_STRING(SummarySoftwareVersion, 633, "S/W Version", "S/W 버전")
QV_STRING(SummaryMacAddress, 634, "Mac Address", "MAC 주소")
QV_STRING(SummaryCompany, 635, "Company", "회사")
QV_STRING(SummaryDdns, 636, "DDNS", "DDNS")
QV_STRING(SummaryEmail, 637, "e-Mail", "전자 메일")
QV_STRING(SummaryMaxCenterIds, 638, "Max Center ID", "최대 센터 ID 수")
QV_STRING(SummaryMaxSchedules, 639, "Max Schedule", "최대 스케줄 수")
QV_STRING(SummaryMaxStandby, 640, "Max Standby", "최대 대기 수")
QV_STRING(SummaryScheduleWindow, 641, "ON/OFF Schedule", "ON/OFF 스케줄")

// Administrator page.
QV_STRING(AdminTitle, 650, "Change Admin Password", "관리자 비밀번호 변경")
QV_STRING(AdminGroup, 651, "Change Administrator ID and Password", "관리자 ID 및 Password 변경")
QV_STRING(AdminNewId, 652, "New Admin ID", "새 관리자 아이디")
QV_STRING(AdminNewPassword, 653, "New Password", "새 비밀번호")
QV_STRING(AdminRetype, 654, "Retype New Password", "새 비밀번호 확인")
QV_STRING(AdminApply, 655, "Apply", "변  경")
QV_STRING(AdminCaution, 656,
          "# Caution: If you leave ID and Password as default value, it will cause security "
          "problems.\nPlease be sure to change the ID and password.",
          "# 주의: ID와 비번을 초기값으로 방치할 경우 보안 위험을 초래할 수 있으므로 "
          "변경하십시오.")
QV_STRING(AdminInputId, 657, "관리자 아이디를 입력하세요.", "관리자 아이디를 입력하세요.")

// Network page.
QV_STRING(NetworkTitle, 660, "Network/DDNS Setting", "네트워크/DDNS 설정")

// Update and upload pages. The update's stages that carry program names keep them in both
// languages.
QV_STRING(UpdateTitle, 670, "Quorvel Update", "Quorvel 업데이트")
QV_STRING(UpdateSoftwareGroup, 671, "SW Update", "SW 업데이트")
QV_STRING(UpdateFirmwareGroup, 672, "Firmware Update", "펌웨어 업데이트")
QV_STRING(UpdateStepStarted, 673, "Start", "시작")
QV_STRING(UpdateStepFinished, 674, "Finished", "완료")
QV_STRING(UpdateCenterProgram, 675, "center.exe", "center.exe")
QV_STRING(UpdateClientProgram, 676, "client.exe", "client.exe")
QV_STRING(UpdateWatchDog, 677, "Watch Dog", "Watch Dog")
QV_STRING(UpdateActiveX, 678, "Active-X", "Active-X")
QV_STRING(UpdateCgi, 679, "CGI", "CGI")
QV_STRING(LogoTitle, 680, "Company Logo Upload", "회사 로고 업로드")
QV_STRING(ActiveXTitle, 681, "ActiveX Page Upload", "ActiveX 페이지 업로드")
QV_STRING(WebTitle, 682, "Web Page Upload", "웹 페이지 업로드")

// IO schedule window; the clock's caption is the appliance's own, Korean in both languages.
QV_STRING(IoScheduleTitle, 690, "IO Schedule", "IO 스케줄")
QV_STRING(IoScheduleWindowTitle, 691, "Quorvel IO ON/OFF Schedule Management",
          "Quorvel IO ON/OFF 스케줄 관리")
QV_STRING(IoDevices, 692, "IO devices", "IO 장치")
QV_STRING(IoColumnStatus, 693, "Status", "상태")
QV_STRING(IoRefresh, 694, "Refresh", "새로 고침")
QV_STRING(ServerClockTitle, 695, "Quorvel MY 서버시간", "Quorvel MY 서버시간")

// Column captions the lists share.
QV_STRING(ColumnNumber, 700, "No.", "No.")
QV_STRING(ColumnId, 701, "ID", "ID")
QV_STRING(ColumnPassword, 702, "Password", "Password")
QV_STRING(ColumnName, 703, "Name", "Name")
QV_STRING(ColumnGroup, 704, "Group", "Group")
QV_STRING(ColumnIp, 705, "IP", "IP")

// Center ID rules: the relay server's own texts, Korean in both languages.
QV_STRING(CenterIdUnderscore, 710, "센터아이디에 _ 문자를 사용할 수 없습니다.",
          "센터아이디에 _ 문자를 사용할 수 없습니다.")
QV_STRING(CenterIdColumnSuperUser, 711, "SuperUser", "SuperUser")
QV_STRING(CenterIdColumnLogDeletion, 712, "로그삭제", "로그삭제")
QV_STRING(CenterIdColumnFileTransfer, 713, "파일전송", "파일전송")
QV_STRING(CenterIdProhibited, 714, "금지", "금지")
QV_STRING(CenterIdAllowed, 715, "허용", "허용")
// What those fixed texts mean, for the English window's tooltips and screen readers.
QV_STRING(MeaningProhibited, 716, "Forbidden", "금지")
QV_STRING(MeaningAllowed, 717, "Allowed", "허용")
QV_STRING(MeaningLogDeletion, 718, "Log deletion", "로그삭제")
QV_STRING(MeaningFileTransfer, 719, "File transfer", "파일전송")

// Blacklist rules and the firewall's answers: fixed Korean texts in both languages.
QV_STRING(BlockIpTooMany, 730, "방화벽에 추가할 아이피 갯수를 초과하였습니다.",
          "방화벽에 추가할 아이피 갯수를 초과하였습니다.")
QV_STRING(BlockIpEnterExactly, 731, "추가할 아이피를 정확히 입력하세요.",
          "추가할 아이피를 정확히 입력하세요.")
QV_STRING(BlockIpExists, 732, "해당 아이피가 이미 존재합니다.", "해당 아이피가 이미 존재합니다.")
QV_STRING(BlockIpSelectToEdit, 733, "수정할 아이피를 선택하세요.", "수정할 아이피를 선택하세요.")
QV_STRING(BlockIpSelectToDelete, 734, "삭제할 아이피를 선택하세요.", "삭제할 아이피를 선택하세요.")
QV_STRING(BlockIpDeleteQuestion, 735, "Block IP 목록에서 선택된 아이피를 지우시겠습니까?",
          "Block IP 목록에서 선택된 아이피를 지우시겠습니까?")
QV_STRING(BlacklistClearQuestion, 736, "블랙리스트를 모두 지우시겠습니까?",
          "블랙리스트를 모두 지우시겠습니까?")
QV_STRING(BlockIpListChanged, 737, "Block Ip List 가 변경되었습니다.",
          "Block Ip List 가 변경되었습니다.")
QV_STRING(BlacklistCleared, 738, "Blacklist 목록이 클리어 되었습니다.",
          "Blacklist 목록이 클리어 되었습니다.")
QV_STRING(BlacklistColumnDay1, 740, "Day 1", "1일")
QV_STRING(BlacklistColumnDay2, 741, "Day 2", "2일")
QV_STRING(BlacklistColumnMinusDay1, 742, "-Day 1", "-1일")
QV_STRING(BlacklistColumnMinusDay2, 743, "-Day 2", "-2일")
QV_STRING(BlacklistColumnWeek1, 744, "Week 1", "1주")
QV_STRING(BlacklistColumnWeek2, 745, "Week 2", "2주")
QV_STRING(BlacklistColumnMinusWeek1, 746, "-Week 1", "-1주")
QV_STRING(BlacklistColumnMinusWeek2, 747, "-Week 2", "-2주")
QV_STRING(BlacklistColumnQuorvelIp, 748, "Quorvel IP", "Quorvel IP")

// Wake-on-LAN rules: fixed texts, the same in both languages.
QV_STRING(WolMacFormat, 760, "Mac Address Format error.", "Mac Address Format error.")
QV_STRING(WolNothingToExport, 761, "내보내기할 데이터가 없습니다.", "내보내기할 데이터가 없습니다.")
QV_STRING(WolColumnMac, 762, "Mac Addr", "MAC 주소")
QV_STRING(WolColumnEtc, 763, "etc", "기타")

// The list pages: buttons, labels, accessible names and help.
QV_STRING(TableAdd, 800, "Add", "추가")
QV_STRING(TableEdit, 801, "Edit", "수정")
QV_STRING(TableDel, 802, "Del", "삭제")
QV_STRING(TableDelete, 803, "Delete", "삭제")
QV_STRING(TableApply, 804, "Apply", "적 용")
QV_STRING(TableFind, 805, "Find", "찾기")
QV_STRING(CenterIdTitle, 810, "Center ID Management", "센터 ID 관리")
QV_STRING(CenterIdList, 811, "Center IDs", "센터 ID 목록")
QV_STRING(CenterIdLabelId, 812, "ID", "ID")
QV_STRING(CenterIdLabelPassword, 813, "Password", "비밀번호")
QV_STRING(CenterIdLabelName, 814, "Name", "이름")
QV_STRING(CenterIdLabelGroup, 815, "Group", "그룹")
QV_STRING(CenterIdSuperUser, 816, "Super User", "슈퍼 유저")
QV_STRING(CenterIdProhibitFileTransfer, 817, "Prohibit file transfer ", "파일전송 금지")
QV_STRING(CenterIdProhibitLogDeletion, 818, "Prohibit log deletion", "로그삭제 금지")
QV_STRING(WolTitle, 820, "Wake On Lan", "Wake On Lan(원격 켜기)")
QV_STRING(WolList, 821, "Wake-on-LAN targets", "WOL 대상 목록")
QV_STRING(WolLabelName, 822, "Name", "이름")
QV_STRING(WolLabelMac, 823, "MAC", "MAC")
QV_STRING(WolMacExamples, 824, "ex) ab:39:22:44:12:aa\n  ab-39-22-44-12-aa",
          "예) ab:39:22:44:12:aa\n  ab-39-22-44-12-aa")
QV_STRING(WolExport, 825, "Export", "내보내기")
QV_STRING(WolImport, 826, "Import", "불러오기")
QV_STRING(WolHelp, 827,
          "- Wake-on-LAN (WOL) is an Ethernet or Token ring computer networking standard that "
          "allows a computer to be turned on or awakened by a network message.\n"
          "- Quorvel MY is the WOL message distributor on its local network.\n"
          "- Name is the alias of a computer, and MAC is a unique identifier assigned to \n"
          "network interfaces of a PC\n"
          "- You can get MAC in command prompt by typing \"ipconfig /all\".",
          "- WOL(Wake-on-LAN)은 네트워크 메시지로 컴퓨터를 켜거나 깨우는 이더넷/토큰링 네트워크 "
          "표준입니다.\n"
          "- Quorvel MY는 자신이 속한 로컬 네트워크에 WOL 메시지를 보내는 장비입니다.\n"
          "- 이름은 컴퓨터의 별칭이며, 공백 없이 입력하세요. MAC은 PC의 네트워크 인터페이스에 "
          "부여된 고유 식별자입니다.\n"
          "- MAC은 명령 프롬프트에서 \"ipconfig /all\"을 입력하면 확인할 수 있습니다.")
QV_STRING(WolExportFilter, 828, "WOL File(*.csv)|*.csv||", "WOL File(*.csv)|*.csv||")
QV_STRING(WolImportFilter, 829, "CSV|*.csv|All(*.*)|*.*|", "CSV|*.csv|All(*.*)|*.*|")
QV_STRING(BlacklistTitle, 830, "Blacklist IP", "블랙리스트 IP")
QV_STRING(BlacklistList, 831, "Blacklist", "블랙리스트")
QV_STRING(BlockIpList, 832, "Block IP List", "차단 IP 목록")
QV_STRING(BlacklistAddSelected, 833, "Add Selected Items to Block IP List",
          "선택 항목을 차단 IP 목록에 추가")
QV_STRING(BlacklistClearAll, 834, "Clear All", "모두 지우기")
QV_STRING(BlockIpAddressToAdd, 835, "Address to add", "추가할 주소")
QV_STRING(BlockIpLabelAddress, 836, "IP Address", "IP 주소")
QV_STRING(BlockIpAdd, 837, "Add", "추가")
QV_STRING(BlockIpEdit, 838, "Edit", "수정")
QV_STRING(BlockIpDelete, 839, "Delete", "삭제")
QV_STRING(BlockIpApply, 840, "Apply", "적용")
QV_STRING(ChangeRefused, 850,
          "The appliance did not take the change (answer %1). Nothing was changed on the "
          "appliance; what you entered is kept.",
          "장비가 변경 내용을 받아들이지 않았습니다(응답 %1). 장비에서는 아무것도 바뀌지 "
          "않았으며, 입력한 내용은 그대로 남아 있습니다.")
// IO schedule window: the editor, its buttons, its notes and its unapplied edits.
QV_STRING(ScheduleCountLine, 900, "Current Schedule Count : %1    /    Max Schedules : %2",
          "현재 스케줄 수 : %1    /    최대 스케줄 수 : %2")
QV_STRING(ScheduleExceptionBox, 901, "Exceptional Schedule", "예외 스케줄")
QV_STRING(ScheduleMinuteLabel, 902, "Min", "분")
QV_STRING(ScheduleAdd, 903, "Add", "추가")
QV_STRING(ScheduleEdit, 904, "Edit", "변경")
QV_STRING(ScheduleDelete, 905, "Delete", "삭제")
QV_STRING(ScheduleApply, 906, "Apply", "적용하기")
QV_STRING(SchedulePriorityNote, 907,
          "* Exceptional Schedule has the priority over normal schedule.",
          "* 예외스케줄이 설정된 날짜에는 예외스케줄만 적용되며 정규스케줄은 적용되지 않습니다.")
QV_STRING(ScheduleTimeSyncNote, 908,
          "Quorvel MY's clock is synchronized automatically\nby network time server. If it is "
          "disconnected to NTP,\n time will not be correct, which causes scheduling\nerrors, and "
          "IO scheduler will not function well.",
          "Quorvel MY 서버는 타임서버와 연결되어 있습니다.\n타임서버와 연결되어 있지 않으면 "
          "시간이 틀어지므로\n스케줄러가 올바르게 작동하지 않을 수 있습니다.")
QV_STRING(ScheduleList, 909, "Schedules", "스케줄")
QV_STRING(ScheduleDiscardOnLeave, 910, "The schedule changes have not been applied. Discard them?",
          "적용하지 않은 스케줄 변경 사항이 있습니다. 변경 사항을 버리시겠습니까?")
QV_STRING(ScheduleKeepAfterLogon, 911,
          "The connection ended before your schedule changes were applied. Keep them?\n"
          "Yes: keep them, so that Apply sends them. No: discard them and show the appliance's "
          "schedules.",
          "스케줄 변경 사항을 적용하기 전에 연결이 끊어졌습니다. 변경 사항을 유지하시겠습니까?\n"
          "예: 유지하고 적용하기로 보냅니다. 아니요: 버리고 장비의 스케줄을 보여 줍니다.")
QV_STRING(ScheduleKeepAfterReread, 912,
          "The schedules were read again from the appliance, but your changes have not been "
          "applied. Keep them?\nYes: keep them, so that Apply sends them. No: discard them and "
          "show the appliance's schedules.",
          "장비에서 스케줄을 다시 읽었지만 변경 사항이 적용되지 않았습니다. 변경 사항을 "
          "유지하시겠습니까?\n예: 유지하고 적용하기로 보냅니다. 아니요: 버리고 장비의 스케줄을 "
          "보여 줍니다.")
// IO schedule window, week view: what the selected device's timetable does over a week.
QV_STRING(WeekViewTitle, 913, "Week of the selected IO", "선택한 IO의 주간 스케줄")
QV_STRING(WeekGridName, 914, "Normal schedules by weekday and hour", "요일 및 시간별 정규 스케줄")
QV_STRING(WeekGridDescription, 915, "%1 switching events a week", "한 주에 %1회 전환")
QV_STRING(NextEventsTitle, 916, "Next switching events (7 days)", "다음 전환 일정 (7일)")
QV_STRING(ColumnTime, 917, "Time", "시각")
QV_STRING(WaitingForClock, 918, "Waiting for the appliance's clock.",
          "서버 시간을 기다리는 중입니다.")
QV_STRING(NextEventsFrom, 919, "From %1 (appliance time)", "%1부터 (서버 시간)")
// The editor's function selector; the list's column keeps "Function" (동작).
QV_STRING(ScheduleFunctionSelector, 920, "Function", "구분")
// The week view's day names as a calendar spells them; the list keeps the appliance's.
QV_STRING(WeekTuesday, 921, "TUE", "화")
QV_STRING(WeekThursday, 922, "THU", "목")
QV_STRING(WolEntryNotFound, 950, "There is no Wake-on-LAN entry with that number.",
          "해당 번호의 Wake-on-LAN 항목이 없습니다.")
QV_STRING(WolReplaceFile, 951, "%1 already exists.\nDo you want to replace it?",
          "%1 파일이 이미 있습니다.\n바꾸시겠습니까?")
// Network/DDNS page: groups, labels, refusals, the preview of a network change, and the wait for
// the appliance after Save & Reboot.
QV_STRING(NetworkGroup, 1000, "Network", "네트워크")
QV_STRING(DdnsGroup, 1001, "Dynamic DNS 서비스", "Dynamic DNS 서비스")
QV_STRING(NtpGroup, 1002, "NTP Server", "NTP 서버")
QV_STRING(NetworkLabelAddress, 1003, "IP Address", "IP 주소")
QV_STRING(NetworkLabelNetMask, 1004, "Net Mask", "서브넷 마스크")
QV_STRING(NetworkLabelGateway, 1005, "Gateway", "게이트웨이")
QV_STRING(NetworkLabelLinkPort, 1006, "Quorvel Link Port", "Quorvel 링크 포트")
QV_STRING(NetworkLabelDataPort, 1007, "Quorvel Data Port", "Quorvel 데이터 포트")
QV_STRING(NetworkLabelConfigPort, 1008, "Quorvel Config Port", "Quorvel 설정 포트")
QV_STRING(NetworkLabelWebPort, 1009, "Web Server Port", "웹 서버 포트")
QV_STRING(NetworkLabelMac, 1010, "Mac Addr", "MAC 주소")
QV_STRING(NetworkLabelDdns, 1011, "DDNS", "DDNS")
QV_STRING(NetworkLabelEmail, 1012, "e-mail", "이메일")
QV_STRING(NetworkLabelCompany, 1013, "Company", "회사")
QV_STRING(NetworkLabelNtpAddress, 1014, "Address", "주소")
QV_STRING(ForbiddenSemicolon, 1015, "Not allowed character ';'", "허용되지 않는 문자 ';'")
QV_STRING(ForbiddenQuote, 1016, "Not allowed character '''", "허용되지 않는 문자 '''")
QV_STRING(PortTooLarge, 1017, "%1: a port number is at most 65535. Nothing was sent.",
          "%1: 포트 번호는 65535 이하여야 합니다. 아무것도 보내지 않았습니다.")
QV_STRING(NetworkTextTooLong, 1018, "%1 is too long: the appliance keeps at most %2 bytes.",
          "%1이(가) 너무 깁니다. 서버는 최대 %2바이트까지 저장합니다.")
QV_STRING(NetworkTextNotConvertible, 1019,
          "%1 holds characters that the system's code page cannot carry.",
          "%1에 시스템 코드 페이지로 보낼 수 없는 문자가 있습니다.")
QV_STRING(NetworkUnchanged, 1020,
          "The network settings are the appliance's current ones. Nothing was sent.",
          "네트워크 설정이 서버의 현재 설정과 같습니다. 아무것도 보내지 않았습니다.")
QV_STRING(NetworkChangeHeading, 1021, "These settings will change:", "다음 설정이 바뀝니다:")
QV_STRING(NetworkChangeRow, 1022, "%1: %2 -> %3", "%1: %2 -> %3")
QV_STRING(NetworkWarnAddressMoves, 1023,
          "This client is connected to %1; after the reboot the appliance answers at %2, so "
          "this connection will end.",
          "이 프로그램은 %1에 연결되어 있습니다. 재부팅 후 서버 주소는 %2이므로 지금 연결은 "
          "끊어집니다.")
QV_STRING(NetworkWarnOutsideSubnet, 1024,
          "This computer (%1) is not in the new subnet %2 / %3: it may not reach the appliance "
          "after the reboot.",
          "이 컴퓨터(%1)는 새 서브넷 %2 / %3에 속하지 않습니다. 재부팅 후 서버에 연결하지 "
          "못할 수 있습니다.")
QV_STRING(NetworkWarnDhcp, 1025,
          "With DHCP the appliance's new address is not known here: look it up on the DHCP "
          "server to log on again.",
          "DHCP를 사용하면 서버의 새 주소를 여기서 알 수 없습니다. 다시 로그인하려면 DHCP "
          "서버에서 주소를 확인하세요.")
QV_STRING(SwitchedOn, 1026, "on", "켜짐")
QV_STRING(SwitchedOff, 1027, "off", "꺼짐")
QV_STRING(ReturnWaiting, 1028, "Waiting for the appliance at %1 ... %2 s",
          "%1에서 서버를 기다리는 중 ... %2초")
QV_STRING(ReturnAnswered, 1029, "The appliance answers at %1. Log on again.",
          "%1에서 서버가 응답합니다. 다시 로그인하세요.")
QV_STRING(ReturnGaveUp, 1030, "The appliance did not answer at %1 within 5 minutes.",
          "%1에서 5분 안에 서버가 응답하지 않았습니다.")
QV_STRING(NetworkConfirmPrompt, 1031, "Save these settings and reboot the appliance? [y/N] ",
          "이 설정을 저장하고 서버를 재부팅하시겠습니까? [y/N] ")
QV_STRING(NetworkNotSent, 1032, "Nothing was sent.", "아무것도 보내지 않았습니다.")
QV_STRING(NetworkSaved, 1033,
          "The settings were sent and the appliance reboots. Log on next at %1.",
          "설정을 보냈고 서버가 재부팅합니다. 다음에는 %1에 로그인하세요.")
QV_STRING(NetworkNoRecord, 1034, "The network settings have not been read from the appliance yet.",
          "아직 서버에서 네트워크 설정을 읽지 않았습니다.")
QV_STRING(ReturnStatusName, 1035, "Appliance return", "서버 재연결 상태")
// Network page and qvctl network set: addresses the appliance could not be reached at, net
// masks it cannot live with, a static address without a gateway, and leaving DHCP.
QV_STRING(NetworkAddressIncomplete, 1036,
          "%1: type all four numbers of the address. Nothing was sent.",
          "%1: 주소의 네 숫자를 모두 입력하세요. 아무것도 보내지 않았습니다.")
QV_STRING(NetworkAddressNone, 1037,
          "%1: %2 is not an address a device can have (0.x.x.x means no address); the appliance "
          "could not be reached at it. Nothing was sent.",
          "%1: %2은(는) 장치가 가질 수 없는 주소입니다(0.x.x.x는 주소 없음을 뜻합니다). 이 "
          "주소로는 서버에 연결할 수 없습니다. 아무것도 보내지 않았습니다.")
QV_STRING(NetworkAddressBroadcast, 1038,
          "%1: %2 is the broadcast address; the appliance cannot answer at it. Nothing was sent.",
          "%1: %2은(는) 브로드캐스트 주소이므로 서버가 이 주소로 응답할 수 없습니다. 아무것도 "
          "보내지 않았습니다.")
QV_STRING(NetworkAddressMulticast, 1039,
          "%1: %2 is a multicast address (224 to 239); the appliance cannot answer at it. Nothing "
          "was sent.",
          "%1: %2은(는) 멀티캐스트 주소(224~239)이므로 서버가 이 주소로 응답할 수 없습니다. "
          "아무것도 보내지 않았습니다.")
QV_STRING(NetworkAddressReserved, 1040,
          "%1: %2 is a reserved address (240 and above); the appliance cannot answer at it. "
          "Nothing was sent.",
          "%1: %2은(는) 예약된 주소(240 이상)이므로 서버가 이 주소로 응답할 수 없습니다. "
          "아무것도 보내지 않았습니다.")
QV_STRING(NetworkAddressSubnetEdge, 1041,
          "%1: %2 is the network or broadcast address of its subnet (net mask %3); the appliance "
          "cannot answer at it. Nothing was sent.",
          "%1: %2은(는) 서브넷(서브넷 마스크 %3)의 네트워크 주소 또는 브로드캐스트 주소이므로 "
          "서버가 이 주소로 응답할 수 없습니다. 아무것도 보내지 않았습니다.")
QV_STRING(NetworkMaskZero, 1042,
          "%1: with 0.0.0.0 every address would be in the appliance's subnet, and it would answer "
          "no one beyond it. Nothing was sent.",
          "%1: 0.0.0.0이면 모든 주소가 서버의 서브넷에 속하게 되어 서버가 서브넷 밖에는 응답하지 "
          "않습니다. 아무것도 보내지 않았습니다.")
QV_STRING(NetworkMaskNotContiguous, 1043,
          "%1: %2 is not a net mask (its ones must come first, as in 255.255.255.0). Nothing was "
          "sent.",
          "%1: %2은(는) 서브넷 마스크가 아닙니다(255.255.255.0처럼 1인 비트가 앞에 모여 있어야 "
          "합니다). 아무것도 보내지 않았습니다.")
QV_STRING(NetworkMaskAllOnes, 1044,
          "%1: with 255.255.255.255 the appliance's subnet would hold only itself, so it could "
          "reach no one, not even its gateway. Nothing was sent.",
          "%1: 255.255.255.255이면 서버의 서브넷에 서버 자신만 남아 게이트웨이를 포함해 아무와도 "
          "통신할 수 없습니다. 아무것도 보내지 않았습니다.")
QV_STRING(NetworkWarnNoGateway, 1045,
          "Gateway 0.0.0.0: the appliance will answer only inside its subnet %1 / %2.",
          "게이트웨이가 0.0.0.0이므로 서버는 자신의 서브넷 %1 / %2 안에서만 응답합니다.")
QV_STRING(NetworkStaticNeedsAddresses, 1046,
          "--static on an appliance that takes its address by DHCP needs --address, --netmask "
          "and --gateway. Nothing was sent.",
          "DHCP로 주소를 받는 서버에 --static을 쓰려면 --address, --netmask, --gateway가 모두 "
          "필요합니다. 아무것도 보내지 않았습니다.")
QV_STRING(NetworkOptionNoEffect, 1047,
          "%1 has no effect while DHCP is on; give --static to set a fixed address. Nothing was "
          "sent.",
          "DHCP가 켜져 있으면 %1은(는) 효과가 없습니다. 고정 주소를 설정하려면 --static을 "
          "지정하세요. 아무것도 보내지 않았습니다.")
QV_STRING(NetworkDiscardOnLeave, 1048,
          "The network settings typed on this page have not been sent. Discard them?",
          "이 페이지에 입력한 네트워크 설정을 보내지 않았습니다. 버리시겠습니까?")
// Upload pages: help texts, buttons, choosers, the send under way and its end; update page:
// the running time and the versions before and after; qvctl's upload, update and reboot.
QV_STRING(UploadBrowse, 1100, "Browse", "찾아보기")
QV_STRING(LogoUploadButton, 1101, "Upload logo and banner", "로고 및 배너 업로드")
QV_STRING(LogoDeleteButton, 1102, "Delete logo and banner", "로고 및 배너 삭제")
QV_STRING(ActiveXUploadButton, 1103, "File upload", "파일 업로드")
QV_STRING(WebUploadButton, 1104, "zip file upload", "zip 파일 업로드")
QV_STRING(LogoFilter, 1105, "Logo images|*.gif;*.jpg|All Files(*.*)|*.*|",
          "로고 이미지|*.gif;*.jpg|모든 파일(*.*)|*.*|")
QV_STRING(ActiveXFilter, 1106, "html파일|*.html|모든파일(*.*)|*.*|",
          "html파일|*.html|모든파일(*.*)|*.*|")
QV_STRING(WebFilter, 1107, "zip파일|*.zip|모든파일(*.*)|*.*|", "zip파일|*.zip|모든파일(*.*)|*.*|")
QV_STRING(LogoHelp, 1108,
          "You can display your own logo and banner on your Quorvel Client Program.\n"
          "- It support 3 types of image formats( jpg, gif, BMP).\n"
          "- Recommended file size : under 300KB\n"
          "- Recommended image size : 500 × 200 pixels\n"
          "- Upload your logo and banner.",
          "Quorvel 클라이언트 프로그램에 고객사의 로고와 배너를 표시할 수 있습니다.\n"
          "- 지원하는 이미지 형식은 jpg, gif, BMP 세 가지입니다.\n"
          "- 권장 파일 크기 : 300KB 이하\n"
          "- 권장 이미지 크기 : 500 × 200 픽셀\n"
          "- 배너의 배경색을 클라이언트 프로그램의 배경색과 맞추면 자연스럽게 보입니다.\n"
          "- 로고와 배너를 업로드하세요.")
QV_STRING(ActiveXHelp, 1109,
          "This configuration page is for users that don't have own homepage.\n"
          "If you have your own homepage, you don't have to do the below job.\n"
          "Please select index.html.\n"
          "- Quorvel MY has web server fuction. So you can make your own index.html file.\n"
          "- Default web address : http://(Quorvel MY address)/index.html\n"
          "- [ index.html ] contains links to client.exe, center.exe, Active-X.\n"
          "- You can get [index.html] source file by right-clicking web page.\n"
          "- You can edit [index.html] in Notepad. And you must save index.html in UTF-8"
          " character encoding.\n"
          "- For detailed information, please refer to user manual.",
          "자체 홈페이지가 없는 사용자를 위한 설정 페이지입니다.\n"
          "자체 홈페이지가 있다면 아래 작업을 하지 않아도 됩니다.\n"
          "index.html 파일을 선택하세요.\n"
          "- Quorvel MY에는 웹 서버 기능이 있어 index.html 파일을 직접 만들 수 있습니다.\n"
          "- 기본 웹 주소 : http://(Quorvel MY 주소)/index.html\n"
          "- [ index.html ]에는 client.exe, center.exe, Active-X로 가는 링크가 있습니다.\n"
          "- 웹 페이지에서 마우스 오른쪽 단추를 눌러 [index.html] 소스 파일을 얻을 수 있습니다.\n"
          "- [index.html]은 메모장에서 편집할 수 있으며, 반드시 UTF-8 문자 인코딩으로 저장해야 "
          "합니다.\n"
          "- 자세한 내용은 사용자 설명서를 참조하세요.")
QV_STRING(WebHelp, 1110,
          "You can upload web page files by compressing them in the zip format.\n"
          "And you can have your own web page on Quorvel MY Server.\n"
          "- The default web page must be index.html.\n"
          "- Please compress all files including html, jpg, png, gif, exe files to upload. \n"
          "- HTML file must be UTF-8 encoding format.\n"
          "- The compressed zip file size must be under 15MB.",
          "웹 페이지 파일을 zip 형식으로 압축하여 업로드할 수 있습니다.\n"
          "Quorvel MY 서버에 자체 웹 페이지를 둘 수 있습니다.\n"
          "- 기본 웹 페이지는 index.html이어야 합니다.\n"
          "- html, jpg, png, gif, exe 파일을 모두 함께 압축하여 업로드하세요. \n"
          "- HTML 파일은 UTF-8 인코딩 형식이어야 합니다.\n"
          "- 압축한 zip 파일의 크기는 15MB 이하여야 합니다.\n"
          "- 서버는 압축 파일을 낱개 파일로 풀며, 같은 이름의 파일은 덮어씁니다.\n"
          "- 파일 이름은 영문자로 지어야 합니다.")
QV_STRING(UploadFileUnreadable, 1111, "The file %1 cannot be read. Nothing was sent.",
          "%1 파일을 읽을 수 없습니다. 아무것도 보내지 않았습니다.")
QV_STRING(ActiveXPageTooLarge, 1112,
          "The ActiveX page must be smaller than 128 KB (131072 bytes). Nothing was sent.",
          "ActiveX 페이지는 128KB(131072바이트)보다 작아야 합니다. 아무것도 보내지 않았습니다.")
QV_STRING(LogoFileEmpty, 1113,
          "The file is empty. Nothing was sent; to remove the logo, use Delete logo and banner.",
          "빈 파일입니다. 아무것도 보내지 않았습니다. 로고를 지우려면 로고 및 배너 삭제를 "
          "누르세요.")
QV_STRING(UploadFailed, 1114,
          "The upload failed: the link to the appliance ended before the appliance confirmed it. "
          "The appliance keeps its previous file; log on and upload again.",
          "업로드에 실패했습니다. 장비가 확인하기 전에 장비와의 연결이 끊어졌습니다. 장비에는 "
          "이전 파일이 그대로 있으니 다시 로그온하여 업로드하세요.")
QV_STRING(UploadCancelled, 1115, "The upload was cancelled. The appliance keeps its previous file.",
          "업로드를 취소했습니다. 장비에는 이전 파일이 그대로 있습니다.")
QV_STRING(UploadProgress, 1116, "%1 of %2 bytes sent (%3 KB/s)",
          "%2바이트 중 %1바이트 전송(%3 KB/s)")
QV_STRING(UploadCancel, 1117, "Cancel", "취소")
QV_STRING(UploadLeaveQuestion, 1118, "An upload is under way. Cancel it and close the link?",
          "업로드가 진행 중입니다. 업로드를 취소하고 연결을 닫으시겠습니까?")
QV_STRING(
    LogoNotImage, 1119,
    "The file %1 is not a GIF, JPEG, BMP or SWF image, whatever its name says. The appliance "
    "would store it as a GIF logo, which the client programs may not show. Send it anyway?",
    "%1 파일은 이름과 달리 GIF, JPEG, BMP, SWF 이미지가 아닙니다. 장비는 이 파일을 GIF 로고로 "
    "저장하므로 클라이언트 프로그램에 보이지 않을 수 있습니다. 그래도 보내시겠습니까?")
QV_STRING(LogoPreviewSize, 1120, "%1 × %2 pixels (recommended: 500 × 200)",
          "%1 × %2 픽셀(권장: 500 × 200)")
QV_STRING(LogoPreviewNone, 1121, "No preview: this program cannot show the file as an image.",
          "미리 보기 없음: 이 프로그램에서 이미지로 표시할 수 없는 파일입니다.")
QV_STRING(LogoPreviewCaption, 1122, "Preview", "미리 보기")
QV_STRING(UpdateElapsed, 1123, "Running for %1", "진행 시간 %1")
QV_STRING(UpdateVersionChange, 1124,
          "Before the update the appliance ran version %1; it now runs version %2.",
          "업데이트 전 장비의 버전은 %1이었고, 지금 버전은 %2입니다.")
QV_STRING(CliConfirm, 1125, "Continue? [y/N] ", "계속하시겠습니까? [y/N] ")
QV_STRING(CliNotConfirmed, 1127, "Nothing was sent.", "아무것도 보내지 않았습니다.")
QV_STRING(CliRebooting, 1128, "The appliance is rebooting.", "장비가 재부팅하고 있습니다.")
QV_STRING(CliAutoUpdateSet, 1129, "Automatic update set: %1", "자동 업데이트 설정: %1")
QV_STRING(CliUploadAnswerMissing, 1130,
          "The appliance did not confirm the upload (it answered %1).",
          "장비가 업로드를 확인하지 않았습니다(응답 %1).")
QV_STRING(RebootWhileUploading, 1131,
          "An upload is under way. Wait until it ends, or cancel it, before rebooting the "
          "appliance.",
          "업로드가 진행 중입니다. 업로드가 끝나거나 취소한 뒤에 장비를 재부팅하세요.")
QV_STRING(TransferWhileUploading, 1132,
          "An upload is under way. Wait until it ends, or cancel it, before a backup or a "
          "restore.",
          "업로드가 진행 중입니다. 업로드가 끝나거나 취소한 뒤에 백업 또는 복원을 하세요.")
QV_STRING(TransferNotConnected, 1133,
          "There is no link to the appliance. Log on again, then try once more.",
          "장비와 연결되어 있지 않습니다. 다시 로그온한 뒤 시도하세요.")
QV_STRING(UploadEmptyPage, 1134,
          "%1 is empty: the appliance's web page would be blank. Send it anyway?",
          "%1 파일이 비어 있습니다: 장비의 웹 페이지가 빈 페이지가 됩니다. 그래도 보내시겠습니까?")
// IO schedule window and qvctl: the timetable as a spreadsheet file.
QV_STRING(ScheduleToExcel, 1200, "To Excel File", "엑셀로 저장")
QV_STRING(ScheduleFromExcel, 1201, "From Excel File", "엑셀에서 불러오기")
QV_STRING(ExcelLoadError, 1202, "Excel Load Error !", "엑셀 처리 오류 !")
QV_STRING(SheetOpenFilter, 1203, "Excel|*.xls;*.xlsx|All(*.*)|*.*|",
          "엑셀|*.xls;*.xlsx|모든 파일(*.*)|*.*|")
QV_STRING(SheetSaveFilter, 1204, "Excel|*.xlsx|", "엑셀|*.xlsx|")
QV_STRING(SheetFileNotFound, 1205, "The file does not exist or cannot be opened.",
          "파일이 없거나 열 수 없습니다.")
QV_STRING(SheetNotSpreadsheet, 1206, "The file is not an .xlsx or .xls spreadsheet.",
          "파일이 .xlsx 또는 .xls 스프레드시트가 아닙니다.")
QV_STRING(SheetEncrypted, 1207,
          "The file is protected by a password. Save it without a password and try again.",
          "파일이 암호로 보호되어 있습니다. 암호 없이 저장한 뒤 다시 시도하세요.")
QV_STRING(SheetCorrupt, 1208, "The file is damaged.", "파일이 손상되었습니다.")
QV_STRING(SheetTooLarge, 1209, "The file is far larger than a timetable can be.",
          "파일이 스케줄표로 보기에는 너무 큽니다.")
QV_STRING(SheetUnsupported, 1210, "The file uses a form this program does not read.",
          "이 프로그램이 읽을 수 없는 형식의 파일입니다.")
QV_STRING(SheetWriteFailed, 1211, "The file could not be written.", "파일을 쓸 수 없습니다.")
QV_STRING(SheetNotRead, 1212, "The timetable was not changed.", "스케줄표를 바꾸지 않았습니다.")
QV_STRING(ImportTaken, 1213, "%1 schedules were found in the file.",
          "파일에서 스케줄 %1개를 찾았습니다.")
QV_STRING(ImportSkippedDuplicates, 1214, "Rows skipped as duplicates: %1", "중복으로 건너뛴 행: %1")
QV_STRING(ImportSkippedFunctions, 1215, "Rows skipped for an unknown function code: %1",
          "알 수 없는 동작구분으로 건너뛴 행: %1")
QV_STRING(ImportSkippedNotes, 1216, "Rows skipped as notes (no function code in column A): %1",
          "메모로 건너뛴 행 (A열에 동작구분 없음): %1")
QV_STRING(ImportOutOfRange, 1217, "Values outside their range: %1", "범위를 벗어난 값: %1")
QV_STRING(ImportOverLimit, 1218,
          "The appliance holds at most %1 schedules: it will refuse this timetable on Apply.",
          "장비의 최대 스케줄 수는 %1개입니다. 적용하면 장비가 이 스케줄표를 거부합니다.")
QV_STRING(ImportIdsCut, 1219, "IDs longer than 31 bytes, cut to 31: %1",
          "31바이트보다 길어 31바이트로 자른 ID: %1")
QV_STRING(ImportReplaceQuestion, 1220,
          "Replace the timetable with them? It reaches the appliance with Apply.",
          "스케줄표를 이것으로 바꾸시겠습니까? 적용을 눌러야 장비에 반영됩니다.")
QV_STRING(ImportReplaceOnAppliance, 1221, "Replace the appliance's timetable with them? [y/N] ",
          "장비의 스케줄표를 이것으로 바꾸시겠습니까? [y/N] ")
QV_STRING(ExportWritten, 1223, "%1 schedules written to %2.", "스케줄 %1개를 %2에 썼습니다.")
QV_STRING(ImportIdsNotConvertible, 1224,
          "IDs with characters the system's code page cannot hold (taken as \"?\"): %1",
          "시스템 코드 페이지로 나타낼 수 없는 문자가 있는 ID (\"?\"로 바뀜): %1")
// %1: entries past row 2040, %2: all entries.
QV_STRING(ExportNotReadBack, 1225,
          "%1 of the %2 schedules go to rows past 2040, which From Excel File does not read: "
          "the file brings back only the first 2034.",
          "스케줄 %2개 중 %1개는 2040행 뒤에 쓰이며, 엑셀에서 불러오기는 그 행들을 읽지 "
          "않습니다. 이 파일에서는 처음 2034개만 다시 불러옵니다.")
QV_STRING(ExportAnyway, 1226, "Write the file anyway?", "그래도 파일을 쓰시겠습니까?")
// %1: the last row with a value.
QV_STRING(ImportRowsNotRead, 1227,
          "Rows past 2040 were not read, though columns A to H hold values down to row %1.",
          "2040행 뒤의 행은 읽지 않았습니다. A~H열에는 %1행까지 값이 있습니다.")

// From 1300: the desktop's finishing touches: CSV files in UTF-8, deleting several rows, the
// lock-out warning.
// %1: the entry's number in the list.
QV_STRING(WolExportAsUtf8, 1300,
          "Entry %1 holds characters that this system's code page cannot hold.\nWrite the file "
          "as UTF-8 (with a byte-order mark) instead? Current spreadsheets read it.",
          "%1번 항목에 이 시스템의 코드 페이지로 저장할 수 없는 문자가 있습니다.\n대신 UTF-8"
          "(바이트 순서 표시 포함)로 저장하시겠습니까? 최신 스프레드시트에서 읽을 수 있습니다.")
QV_STRING(WolExportNeedsUtf8, 1301,
          "Entry %1 holds characters that this system's code page cannot hold. Give --utf8 to "
          "write the file as UTF-8 with a byte-order mark.",
          "%1번 항목에 이 시스템의 코드 페이지로 저장할 수 없는 문자가 있습니다. UTF-8(바이트 "
          "순서 표시 포함)로 저장하려면 --utf8을 지정하세요.")
// %1: the number of rows chosen.
QV_STRING(CenterIdDeleteSeveral, 1302, "Delete the %1 selected center IDs?",
          "선택한 센터 ID %1개를 삭제하시겠습니까?")
QV_STRING(WolDeleteSeveral, 1303, "Delete the %1 selected Wake-on-LAN entries?",
          "선택한 WOL 항목 %1개를 삭제하시겠습니까?")
// %1: the address this client is connected from.
QV_STRING(BlockIpLocksOut, 1304,
          "%1 is the address this computer reaches the appliance from. Once the firewall blocks "
          "it, you can no longer administer the appliance from here.\nBlock it anyway?",
          "%1은(는) 이 컴퓨터가 장비에 접속하는 주소입니다. 방화벽이 이 주소를 차단하면 이 "
          "컴퓨터에서 더 이상 장비를 관리할 수 없습니다.\n그래도 차단하시겠습니까?")
QV_STRING(BlockIpLocksOutRefused, 1305,
          "%1 is the address this computer reaches the appliance from; blocking it would shut "
          "you out of the appliance. Give --yes to block it anyway.",
          "%1은(는) 이 컴퓨터가 장비에 접속하는 주소이므로 차단하면 장비에 접속할 수 없게 "
          "됩니다. 그래도 차단하려면 --yes를 지정하세요.")
// The Wake-on-LAN list's own "No." and "Name" columns: the center ID list keeps its columns in
// English in both languages, this list reads Korean in Korean.
QV_STRING(WolColumnNumber, 1306, "No.", "번호")
QV_STRING(WolColumnName, 1307, "Name", "이름")

// Backup and restore of the whole configuration (qvctl backup / restore).
QV_STRING(BackupNotABackup, 1400, "%1 is not a QVSetting backup file.",
          "%1 파일은 QVSetting 백업 파일이 아닙니다.")
QV_STRING(BackupNewerFormat, 1401,
          "%1 was written in backup format %2 by a newer QVSetting; this version reads format %3 "
          "and older.",
          "%1 파일은 더 새로운 QVSetting이 백업 형식 %2(으)로 쓴 파일입니다. 이 버전은 형식 %3 "
          "이하만 읽습니다.")
QV_STRING(BackupTooLarge, 1402, "%1 is larger than any backup (%2 bytes at most); it was not read.",
          "%1 파일은 백업으로 보기에 너무 큽니다(최대 %2바이트). 읽지 않았습니다.")
QV_STRING(BackupUnreadable, 1403, "%1 cannot be read.", "%1 파일을 읽을 수 없습니다.")
QV_STRING(BackupPartMissing, 1404,
          "%1 is truncated or damaged: its part \"%2\" is missing or malformed.",
          "%1 파일이 잘렸거나 손상되었습니다: \"%2\" 부분이 없거나 형식이 잘못되었습니다.")
QV_STRING(BackupBadBase64, 1405, "%1 is damaged: the bytes of \"%2\" are not valid base64.",
          "%1 파일이 손상되었습니다: \"%2\"의 바이트가 올바른 base64가 아닙니다.")
QV_STRING(BackupWrongSize, 1406, "%1 is damaged: \"%2\" holds %3 bytes where its record has %4.",
          "%1 파일이 손상되었습니다: \"%2\"에 %3바이트가 있지만 레코드 크기는 %4바이트입니다.")
QV_STRING(BackupBadCount, 1407, "%1 is damaged: \"%2\" gives %3, outside %4 to %5.",
          "%1 파일이 손상되었습니다: \"%2\"의 값 %3이(가) %4에서 %5 범위를 벗어납니다.")
QV_STRING(BackupFieldsDisagree, 1408,
          "%1 was edited into inconsistency: the readable fields of \"%2\" disagree with its bytes "
          "(at %3).",
          "%1 파일이 일관성 없게 편집되었습니다: \"%2\"의 읽을 수 있는 필드가 바이트와 다릅니다 "
          "(위치 %3).")
QV_STRING(BackupWritten, 1409,
          "Backup written to %1. Only you can read it: it holds the center ID passwords.",
          "%1에 백업했습니다. 센터 ID 비밀번호가 들어 있으므로 본인만 읽을 수 있습니다.")
QV_STRING(BackupCannotWrite, 1410, "%1 cannot be written: %2.", "%1 파일을 쓸 수 없습니다: %2.")
QV_STRING(TableCenterIds, 1411, "Center IDs", "센터 ID")
QV_STRING(TableWol, 1412, "Wake-on-LAN", "Wake-on-LAN")
QV_STRING(TableBlockIps, 1413, "Block IP list", "차단 IP 목록")
QV_STRING(TableSchedule, 1414, "IO schedule", "IO 스케줄")
QV_STRING(TableAutoUpdate, 1415, "Automatic update", "자동 업데이트")
QV_STRING(TableNetwork, 1416, "Network settings", "네트워크 설정")
QV_STRING(PreviewSummary, 1417, "%1: %2 added, %3 removed, %4 changed, %5 moved",
          "%1: 추가 %2, 삭제 %3, 변경 %4, 이동 %5")
QV_STRING(PreviewUnchanged, 1418, "%1: unchanged", "%1: 변경 없음")
QV_STRING(PreviewOtherBytes, 1420,
          "%1: the same entries; bytes the client does not interpret differ",
          "%1: 항목은 같지만 클라이언트가 해석하지 않는 바이트가 다릅니다")
QV_STRING(AutoUpdateOn, 1421, "on", "켜짐")
QV_STRING(AutoUpdateOff, 1422, "off", "꺼짐")
QV_STRING(RestoreOverLimit, 1423,
          "%1: the backup holds %2 entries and this appliance takes at most %3. Nothing was "
          "restored.",
          "%1: 백업에는 항목이 %2개 있지만 이 장비는 최대 %3개까지 받습니다. 아무것도 복원하지 "
          "않았습니다.")
QV_STRING(
    RestoreUnknownTable, 1424,
    "Unknown table \"%1\": choose among centerids, wol, blockips, schedule, autoupdate and "
    "network.",
    "알 수 없는 테이블 \"%1\": centerids, wol, blockips, schedule, autoupdate, network 중에서 "
    "고르십시오.")
QV_STRING(RestoreQuestion, 1425, "Write these changes to the appliance? [y/N] ",
          "이 변경 사항을 장비에 쓰시겠습니까? [y/N] ")
QV_STRING(RestoreCancelled, 1427, "Nothing was restored.", "아무것도 복원하지 않았습니다.")
QV_STRING(RestoreNothingToDo, 1428,
          "The appliance already holds what the backup holds for these tables; nothing to write.",
          "장비가 이미 이 테이블들에 대해 백업과 같은 내용을 가지고 있습니다. 쓸 것이 없습니다.")
QV_STRING(RestoreDryRun, 1429, "Dry run: nothing was written.",
          "시험 실행: 아무것도 쓰지 않았습니다.")
QV_STRING(RestoreDone, 1430, "Restored: %1.", "복원했습니다: %1.")
QV_STRING(RestorePartial, 1431, "The restore stopped. Written: %1. Not written: %2.",
          "복원이 중단되었습니다. 쓴 테이블: %1. 쓰지 못한 테이블: %2.")
QV_STRING(RestoreNone, 1432, "none", "없음")
QV_STRING(NetworkRebootAsk, 1435,
          "The appliance reboots to take the network settings. Continue? [y/N] ",
          "네트워크 설정을 적용하려면 장비가 재부팅됩니다. 계속하시겠습니까? [y/N] ")
QV_STRING(NetworkNotRestored, 1436,
          "The DDNS ID, e-mail and company are not restored: they belong to the DDNS registration "
          "on the network page.",
          "DDNS ID, 이메일, 회사는 복원하지 않습니다: 네트워크 페이지의 DDNS 등록에 속합니다.")
QV_STRING(NetworkSent, 1437, "The network settings were sent; the appliance reboots now.",
          "네트워크 설정을 보냈습니다. 장비가 지금 재부팅됩니다.")
QV_STRING(RestoreFrom, 1438, "Backup of %1, written %2. Changes against the appliance:",
          "%1의 백업(%2에 작성). 장비와 비교한 변경 사항:")
QV_STRING(RestoreWriting, 1439, "Writing %1...", "%1 쓰는 중...")
QV_STRING(RestoreNetworkHint, 1440,
          "The network settings in the backup differ from the appliance's; they are restored only "
          "with --only network.",
          "백업의 네트워크 설정이 장비와 다릅니다. --only network를 줄 때만 복원합니다.")
QV_STRING(BackupNotJson, 1441,
          "%1 is truncated or was edited into text that is not JSON; nothing was taken from it.",
          "%1 파일이 잘렸거나 JSON이 아닌 내용으로 편집되었습니다. 아무것도 가져오지 않았습니다.")
QV_STRING(BackupNeedsFile, 1442, "takes the file to write the backup to",
          "백업을 쓸 파일을 지정해야 합니다")
QV_STRING(RestoreNeedsFile, 1443, "takes the backup file to restore",
          "복원할 백업 파일을 지정해야 합니다")
QV_STRING(RestoreOnlyNeedsTables, 1444, "--only needs the tables, as in --only centerids,wol",
          "--only 뒤에 테이블을 지정해야 합니다(예: --only centerids,wol)")
QV_STRING(RestoreUnexpectedArgument, 1445, "unexpected argument \"%1\"",
          "예상하지 못한 인수 \"%1\"")
QV_STRING(RestoreDevicesNotListed, 1446,
          "Warning: the IO schedule names devices this appliance does not list: %1. Their "
          "schedules switch nothing here.",
          "경고: IO 스케줄에 이 장비 목록에 없는 장치가 있습니다: %1. 이 장치들의 스케줄은 여기서 "
          "아무것도 켜거나 끄지 않습니다.")
QV_STRING(BackupMenu, 1450, "Backup...", "백업...")
QV_STRING(RestoreMenu, 1451, "Restore...", "복원...")
QV_STRING(BackupFileFilter, 1452, "QVSetting backup (*.json);;All files (*)",
          "QVSetting 백업 (*.json);;모든 파일 (*)")
QV_STRING(BackupReadingTables, 1453, "Reading the appliance's tables: %1 of %2",
          "장비의 표를 읽는 중: %2 중 %1")
QV_STRING(TransferLinkLost, 1454, "The link to the appliance was lost.",
          "장비와의 연결이 끊어졌습니다.")
QV_STRING(BackupNotWritten, 1455, "No backup file was written.", "백업 파일을 쓰지 않았습니다.")
QV_STRING(RestoreRefusedBy, 1456, "The appliance refused %1 (it answered %2).",
          "장비가 %1을(를) 거부했습니다 (응답 %2).")
QV_STRING(RestoreWritingTables, 1457, "Writing %1: table %2 of %3", "%1 쓰는 중: %3 중 %2번째 표")
QV_STRING(RestorePreviewTitle, 1458, "Restore from a backup", "백업에서 복원")
QV_STRING(RestoreChooseTables, 1459,
          "Tick the tables to write to the appliance. The network settings reboot the appliance "
          "and are written only when ticked.",
          "장비에 쓸 표를 선택하십시오. 네트워크 설정은 장비를 재부팅하며 선택했을 때만 씁니다.")
QV_STRING(RestoreNtpServerLabel, 1460, "NTP Server", "NTP 서버")
QV_STRING(TransferCancelled, 1461, "Cancelled.", "취소했습니다.")
QV_STRING(RestoreTableRefused, 1462, "Not restored: %1", "복원하지 않음: %1")
QV_STRING(TransferBusy, 1463, "A backup or restore is already running.",
          "이미 백업 또는 복원이 진행 중입니다.")
QV_STRING(TransferOk, 1464, "OK", "확인")
QV_STRING(TransferCancel, 1465, "Cancel", "취소")
QV_STRING(RestoreNetworkUnreachable, 1466,
          "The appliance could not be reached with these settings: %1",
          "이 설정으로는 장비에 연결할 수 없습니다: %1")
// A restore's preview: a password that changes, a row in another place, rows whose only
// differences are bytes the client does not interpret (%2: how many).
QV_STRING(PreviewPasswordChanged, 1467, "changed (not shown)", "변경됨 (표시하지 않음)")
QV_STRING(PreviewRowMoved, 1468, "moved from place %1 to %2", "%1번째에서 %2번째로 이동")
QV_STRING(PreviewOtherBytesRows, 1469,
          "%1: %2 entries differ only in bytes the client does not interpret",
          "%1: 항목 %2개가 클라이언트가 해석하지 않는 바이트만 다릅니다")
QV_STRING(RestoreJsonNeedsDryRun, 1470, "--json previews only: add --dry-run",
          "--json은 미리 보기에만 쓰입니다: --dry-run을 함께 주십시오")
QV_STRING(SheetNotInThisBuild, 1500,
          "spreadsheet files are not available in this build (it was made without the "
          "spreadsheet libraries, as the Windows build is); nothing was done.",
          "이 빌드에서는 스프레드시트 파일을 쓸 수 없습니다(Windows 빌드처럼 스프레드시트 "
          "라이브러리 없이 만들어졌습니다). 아무것도 하지 않았습니다.")
QV_STRING(SheetButtonsNotInThisBuild, 1501,
          "This build of QVSetting cannot write or read Excel files: it was made without the "
          "spreadsheet libraries, as the Windows build is. No file was written and the timetable "
          "was not changed.",
          "이 QVSetting 빌드는 엑셀 파일을 쓰거나 읽을 수 없습니다. Windows 빌드처럼 스프레드시트 "
          "라이브러리 없이 만들어졌습니다. 파일을 쓰지 않았고 스케줄표도 바꾸지 않았습니다.")
QV_STRING(CliTableChangedMeanwhile, 1620,
          "the appliance took %1, but reading it back shows other contents: another "
          "administrator changed it at the same time. Read it again and repeat the change if it "
          "is still needed.",
          "장비가 %1을(를) 받아들였지만 다시 읽어 보니 내용이 다릅니다. 다른 관리자가 같은 때에 "
          "바꾸었습니다. 다시 읽어 본 뒤 아직 필요하면 변경을 다시 하십시오.")
QV_STRING(NotRegularFile, 1621, "%1 is not a regular file: a pipe or a device is not read.",
          "%1은(는) 일반 파일이 아닙니다. 파이프나 장치는 읽지 않습니다.")
QV_STRING(CliPasswordFileTooLarge, 1622,
          "the password file %1 is larger than a password file can be (one line)",
          "암호 파일 %1이(가) 암호 파일로서는 너무 큽니다(한 줄이어야 합니다)")
QV_STRING(CliPasswordFileUnreadable, 1623, "cannot read the password file %1",
          "암호 파일 %1을(를) 읽을 수 없습니다")
QV_STRING(CliStandbyLimitNotice, 1624, "The appliance's standby limit is now %1.",
          "장비의 대기 한도가 이제 %1입니다.")
// The IO schedule window closed with edits that were not applied.
QV_STRING(ScheduleCloseQuestion, 1625,
          "The schedule changes have not been applied. Apply them before the window closes?",
          "적용하지 않은 스케줄 변경 사항이 있습니다. 창을 닫기 전에 적용하시겠습니까?")
QV_STRING(EditsApply, 1626, "Apply", "적용")
QV_STRING(EditsDiscard, 1627, "Discard", "버리기")
QV_STRING(EditsKeepEditing, 1628, "Keep editing", "계속 편집")
// What a screen reader adds to the navigation link of the page shown.
QV_STRING(LinkShownPage, 1629, "Page shown", "표시 중인 페이지")
// The file choosers' titles: each says what it chooses.
QV_STRING(ChooseLogoTitle, 1630, "Choose the logo image", "로고 이미지 선택")
QV_STRING(ChooseActiveXTitle, 1631, "Choose the ActiveX page", "ActiveX 페이지 선택")
QV_STRING(ChooseWebArchiveTitle, 1632, "Choose the web page archive", "웹 페이지 압축 파일 선택")
QV_STRING(ChooseWolExportTitle, 1633, "Save the WOL list as", "WOL 목록을 저장할 파일")
QV_STRING(ChooseWolImportTitle, 1634, "Choose the WOL list to import", "가져올 WOL 목록 선택")
QV_STRING(ChooseSheetExportTitle, 1635, "Save the schedules as an Excel file",
          "스케줄을 저장할 엑셀 파일")
QV_STRING(ChooseSheetImportTitle, 1636, "Choose the Excel file of schedules to read",
          "읽어 올 스케줄 엑셀 파일 선택")
QV_STRING(ChooseBackupTitle, 1637, "Save the backup as", "백업을 저장할 파일")
QV_STRING(ChooseRestoreTitle, 1638, "Choose the backup to restore", "복원할 백업 선택")
// The center ID list's column captions in the window's language.
QV_STRING(CenterIdColumnPassword, 1640, "Password", "비밀번호")
QV_STRING(CenterIdColumnName, 1641, "Name", "이름")
QV_STRING(CenterIdColumnGroup, 1642, "Group", "그룹")
QV_STRING(CenterIdColumnAdmin, 1643, "SuperUser", "최고관리자")
// qvctl over an inventory of appliances: the list's faults (%1: its line) and the run's table.
QV_STRING(InventoryBadLine, 1760, "inventory line %1: expected NAME HOST:PORT",
          "인벤토리 %1번째 줄: NAME HOST:PORT 형식이어야 합니다")
QV_STRING(InventoryBadName, 1761,
          "inventory line %1: the name \"%2\" may hold only letters, digits, \".\", \"_\" and "
          "\"-\", and may not start with \".\"",
          "인벤토리 %1번째 줄: 이름 \"%2\"에는 문자, 숫자, \".\", \"_\", \"-\"만 쓸 수 있고 "
          "\".\"으로 시작할 수 없습니다")
QV_STRING(InventoryNameTooLong, 1762, "inventory line %1: the name \"%2\" is longer than 64 bytes",
          "인벤토리 %1번째 줄: 이름 \"%2\"이(가) 64바이트보다 깁니다")
QV_STRING(InventoryBadAddress, 1763,
          "inventory line %1: \"%2\" is not HOST:PORT (a host name or dotted address, a port "
          "from 1 to 65535)",
          "인벤토리 %1번째 줄: \"%2\"은(는) HOST:PORT(호스트 이름 또는 점으로 구분한 주소, 1에서 "
          "65535 사이의 포트)가 아닙니다")
QV_STRING(InventoryDuplicateName, 1764, "inventory line %1: the name \"%2\" is already on line %3",
          "인벤토리 %1번째 줄: 이름 \"%2\"은(는) 이미 %3번째 줄에 있습니다")
QV_STRING(InventoryTooLarge, 1765, "the inventory is larger than %1 KB",
          "인벤토리가 %1KB보다 큽니다")
QV_STRING(InventoryTooManyEntries, 1766, "the inventory lists more than %1 appliances",
          "인벤토리에 장비가 %1대보다 많습니다")
QV_STRING(InventoryEmpty, 1767, "the inventory lists no appliance", "인벤토리에 장비가 없습니다")
QV_STRING(InventoryUnreadable, 1768, "cannot read the inventory %1",
          "인벤토리 %1을(를) 읽을 수 없습니다")
QV_STRING(InventoryColumnName, 1769, "Appliance", "장비")
QV_STRING(InventoryColumnResult, 1770, "Result", "결과")
QV_STRING(InventoryColumnTime, 1771, "Time", "시간")
QV_STRING(InventoryResultOk, 1772, "ok", "성공")
QV_STRING(InventorySummary, 1773, "%1 appliances: %2 succeeded, %3 failed",
          "장비 %1대: %2대 성공, %3대 실패")
QV_STRING(InventorySummaryStopped, 1774,
          "stopped: %1 of %2 appliances finished (%3 succeeded, %4 failed), %5 not started",
          "중단됨: 장비 %2대 중 %1대 완료(%3대 성공, %4대 실패), %5대는 시작하지 않음")
QV_STRING(InventoryCommandRefused, 1775,
          "%1 does not run over an inventory: it changes an appliance's own settings, one "
          "appliance at a time (use --server)",
          "%1은(는) 인벤토리에 대해 실행하지 않습니다. 장비 자체의 설정을 바꾸므로 장비마다 "
          "하나씩 실행하십시오(--server 사용)")
QV_STRING(InventoryNeedsYes, 1776,
          "%1 over an inventory asks no questions, since every appliance would ask at once: add "
          "--yes (or --dry-run to preview)",
          "인벤토리에 대해 실행하는 %1은(는) 질문하지 않습니다. 모든 장비가 한꺼번에 묻게 되기 "
          "때문입니다. --yes를 주십시오(미리 보려면 --dry-run)")
QV_STRING(InventoryOneFileForAll, 1777,
          "%1 over an inventory would write one file for every appliance: export from one "
          "appliance with --server",
          "인벤토리에 대해 %1을(를) 실행하면 모든 장비가 한 파일에 씁니다. --server로 장비 "
          "하나에서 내보내십시오")
QV_STRING(InventoryNeedsFolder, 1778,
          "backup over an inventory writes FOLDER/NAME.json for each appliance: %1 is not an "
          "existing folder",
          "인벤토리 백업은 장비마다 FOLDER/NAME.json을 씁니다. %1은(는) 있는 폴더가 아닙니다")
QV_STRING(InventoryGroupNeedsBook, 1779,
          "--group takes a group of the address book: %1 is a plain list, which has no groups",
          "--group은 주소록의 그룹을 받습니다. %1은(는) 그룹이 없는 일반 목록입니다")
QV_STRING(InventoryEmptyGroup, 1780, "the address book has no appliance in the group \"%1\"",
          "주소록의 \"%1\" 그룹에 장비가 없습니다")
QV_STRING(InventoryNoPassword, 1781,
          "the desktop keyring keeps no password for %1: save it in the address book, or set "
          "QVCTL_PASSWORD",
          "데스크톱 키링에 %1의 비밀번호가 없습니다. 주소록에 저장하거나 QVCTL_PASSWORD를 "
          "설정하십시오")
QV_STRING(InventorySameFile, 1782,
          "%1 and %2 would both be backed up to %3: rename one of them in the address book",
          "%1과(와) %2이(가) 모두 %3에 백업됩니다. 주소록에서 둘 중 하나의 이름을 바꾸십시오")
// The address book of appliances (appliances.json) and the desktop keyring that keeps their
// passwords. %1 of ApplianceTextNotAllowed is the field's key in the file.
QV_STRING(ApplianceNameEmpty, 2100, "An appliance needs a name.", "장비 이름이 필요합니다.")
QV_STRING(ApplianceNameTaken, 2101, "There is already an appliance named \"%1\".",
          "\"%1\"(이)라는 장비가 이미 있습니다.")
QV_STRING(ApplianceNotFound, 2102, "There is no appliance named \"%1\".",
          "\"%1\"(이)라는 장비가 없습니다.")
QV_STRING(ApplianceAddressInvalid, 2103,
          "\"%1\" is not an address of the form host:port (a host name or IPv4 address and a "
          "port from 1 to 65535).",
          "\"%1\"은(는) host:port 형식의 주소가 아닙니다(호스트 이름 또는 IPv4 주소와 1에서 "
          "65535 사이의 포트).")
QV_STRING(ApplianceCodePageUnsupported, 2104,
          "Code page %1 is not one the appliance's texts can be read in: use 949, 1252 or 65001.",
          "코드 페이지 %1(으)로는 장비의 문자열을 읽을 수 없습니다. 949, 1252 또는 65001을 "
          "쓰십시오.")
QV_STRING(ApplianceNameTooLong, 2105, "An appliance name may have at most %1 bytes.",
          "장비 이름은 최대 %1바이트까지 쓸 수 있습니다.")
QV_STRING(ApplianceAdminIdTooLong, 2106, "An administrator ID may have at most %1 bytes.",
          "관리자 ID는 최대 %1바이트까지 쓸 수 있습니다.")
QV_STRING(ApplianceGroupTooLong, 2107, "A group name may have at most %1 bytes.",
          "그룹 이름은 최대 %1바이트까지 쓸 수 있습니다.")
QV_STRING(ApplianceNoteTooLong, 2108, "A note may have at most %1 bytes.",
          "메모는 최대 %1바이트까지 쓸 수 있습니다.")
QV_STRING(ApplianceTextNotAllowed, 2109,
          "The field \"%1\" holds characters that are not allowed: control characters or bytes "
          "that are not UTF-8.",
          "\"%1\" 항목에 쓸 수 없는 문자(제어 문자 또는 UTF-8이 아닌 바이트)가 있습니다.")
QV_STRING(ApplianceNameSpaces, 2110, "An appliance name may not begin or end with a space.",
          "장비 이름은 공백으로 시작하거나 끝날 수 없습니다.")
QV_STRING(ApplianceBookFull, 2111, "The appliance list holds at most %1 appliances.",
          "장비 목록에는 장비를 최대 %1개까지 넣을 수 있습니다.")
QV_STRING(ApplianceBookUnreadable, 2112, "Cannot read the appliance list %1.",
          "장비 목록 %1을(를) 읽을 수 없습니다.")
QV_STRING(ApplianceBookTooLarge, 2113,
          "The appliance list %1 is larger than %2 bytes; it was not read.",
          "장비 목록 %1이(가) %2바이트보다 커서 읽지 않았습니다.")
QV_STRING(ApplianceBookNotABook, 2114,
          "%1 is not an appliance list of QVSetting (or it is damaged); it was left as it is.",
          "%1은(는) QVSetting의 장비 목록이 아니거나 손상되었습니다. 파일은 그대로 두었습니다.")
QV_STRING(ApplianceBookDamaged, 2115,
          "The appliance list %1 is not usable: \"%2\" is missing, unknown or of the wrong kind. "
          "It was left as it is.",
          "장비 목록 %1을(를) 쓸 수 없습니다. \"%2\"이(가) 없거나 알 수 없거나 종류가 "
          "잘못되었습니다. 파일은 그대로 두었습니다.")
QV_STRING(ApplianceBookNewer, 2116,
          "The appliance list %1 was written in format %2 by a newer QVSetting; this one reads "
          "format %3. It was left as it is.",
          "장비 목록 %1은(는) 더 새로운 QVSetting이 형식 %2(으)로 썼습니다. 이 버전은 형식 "
          "%3을(를) 읽습니다. 파일은 그대로 두었습니다.")
QV_STRING(ApplianceBookBadEntry, 2117,
          "The appliance list %1 is not usable: %2: %3 It was left as it is.",
          "장비 목록 %1을(를) 쓸 수 없습니다: %2: %3 파일은 그대로 두었습니다.")
QV_STRING(ApplianceBookWriteFailed, 2118, "Cannot write the appliance list %1: %2",
          "장비 목록 %1을(를) 쓸 수 없습니다: %2")
QV_STRING(ApplianceBookNoFolder, 2119,
          "The user's configuration folder is not known: %1 is not set.",
          "사용자 설정 폴더를 알 수 없습니다: %1이(가) 설정되지 않았습니다.")
QV_STRING(KeyringUnavailable, 2120,
          "No desktop keyring is available (%1): passwords are not saved and must be typed.",
          "데스크톱 키링을 쓸 수 없습니다(%1). 비밀번호를 저장하지 않으므로 직접 입력해야 "
          "합니다.")
QV_STRING(KeyringFailed, 2121, "The desktop keyring did not do it: %1",
          "데스크톱 키링이 작업을 하지 못했습니다: %1")

// The logon page's address book.
QV_STRING(BookTitle, 2200, "Address book", "주소록")
QV_STRING(BookName, 2201, "Name", "이름")
QV_STRING(BookAddress, 2202, "Address", "주소")
QV_STRING(BookGroup, 2203, "Group", "그룹")
QV_STRING(BookLastSeen, 2204, "Last seen", "최근 접속")
QV_STRING(BookCodePage, 2205, "Code page", "코드 페이지")
QV_STRING(BookNote, 2206, "Note", "메모")
QV_STRING(BookSavePassword, 2207, "Save password", "비밀번호 저장")
QV_STRING(BookCodePageSystem, 2208, "The system's (%1)", "시스템 설정 (%1)")
QV_STRING(BookCodePageKorean, 2209, "949 Korean", "949 한국어")
QV_STRING(BookCodePageWestern, 2210, "1252 Western", "1252 서유럽어")
QV_STRING(BookOfferAdd, 2211, "Add %1 to the address book?", "%1 을(를) 주소록에 추가하시겠습니까?")
QV_STRING(BookOfferUpdate, 2212, "Change the administrator ID of %1 in the address book to %2?",
          "주소록에서 %1 의 관리자 ID를 %2 (으)로 바꾸시겠습니까?")
QV_STRING(BookOfferKorean, 2213,
          "The texts of %1 read as Korean. Read them in code page 949 from now on?",
          "%1 의 문자는 한국어로 보입니다. 앞으로 코드 페이지 949로 읽으시겠습니까?")
QV_STRING(BookRemoveAsk, 2214,
          "Remove %1 from the address book? Its saved password is removed too.",
          "%1 을(를) 주소록에서 삭제하시겠습니까? 저장된 비밀번호도 함께 삭제됩니다.")
QV_STRING(BookNoneSelected, 2215, "Choose an appliance in the address book first.",
          "먼저 주소록에서 장비를 선택하십시오.")
QV_STRING(BookPasswordNeeded, 2216, "Type the password of %1.", "%1 의 비밀번호를 입력하십시오.")
