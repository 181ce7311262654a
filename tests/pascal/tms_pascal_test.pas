{ Calls the library through the Pascal import unit, as a Free Pascal host
  does, and checks the answers that depend on the unit being right: the
  record layouts, signed and unsigned capacities, wide and ANSI strings.
  The same program is the Windows host (32- and 64-bit, built from the unit
  in the release ZIP), which adds what only Windows has: a player's title
  from another process, the colour dialog, the OS names and a leak check
  (tms_pascal_windows.inc). }
program tms_pascal_test;

{$MODE DELPHI}

uses
  {$IFDEF MSWINDOWS} Windows, {$ENDIF} SysUtils, TolvaricModeSupport;

var
  Passed, Failed: Integer;

procedure Check(Condition: Boolean; const What: string);
begin
  if Condition then
    Inc(Passed)
  else
  begin
    Inc(Failed);
    WriteLn('FAILED: ', What);
  end;
end;

procedure CheckVersion;
var
  Info: TTmsDllVersionInfo;
begin
  FillChar(Info, SizeOf(Info), $CC);
  Info.cbSize := TmsDllVersionInfoSize;
  Check(DllGetVersion(@Info) = TMS_S_OK, 'DllGetVersion accepts cbSize 20');
  Check((Info.dwMajorVersion = 1) and (Info.dwMinorVersion = 0) and (Info.dwBuildNumber = 10) and
    (Info.dwPlatformID = 1), 'DllGetVersion fills 1.0 build 10, platform 1');
  FillChar(Info, SizeOf(Info), $CC);
  Info.cbSize := 32;
  Check((DllGetVersion(@Info) = TMS_E_INVALIDARG) and (Info.dwBuildNumber = $CCCCCCCC),
    'DllGetVersion refuses cbSize 32 and writes nothing');
end;

procedure CheckStrings;
const
  Text: UnicodeString = 'gr'#$00FC'n '#$D83D#$DE00;  { u-umlaut and an emoji: 7 units }
  Utf8: AnsiString = 'gr'#$C3#$BC'n '#$F0#$9F#$98#$80;
var
  Ansi: array[0..63] of AnsiChar;
  Expected: AnsiString;
  Compared: Integer;
begin
  Check(SizeOf(WideChar) = 2, 'WideChar is one UTF-16 unit');
  Check(tmsGetStringLength(PWideChar(Text)) = 7, 'tmsGetStringLength counts UTF-16 units');
  Check(tmsGetStringLength(nil) = 0, 'tmsGetStringLength of nil');
  FillChar(Ansi, SizeOf(Ansi), $CC);
  tmsCopyString(PWideChar(Text), @Ansi[0]);
  { The Linux build's "ANSI" text is UTF-8; on Windows it is the active code
    page's, where only UTF-8 and Western European are predictable here. }
  Compared := Length(Utf8) + 1;  { the terminator too }
  Expected := Utf8;
  {$IFDEF MSWINDOWS}
  if GetACP = 1252 then
  begin
    { How the emoji comes out is the code page's business. }
    Expected := 'gr'#$FC'n ';
    Compared := Length(Expected);
  end
  else if GetACP <> CP_UTF8 then
    Compared := 0;
  {$ENDIF}
  Check(StrLComp(PAnsiChar(@Ansi[0]), PAnsiChar(Expected), Compared) = 0,
    'tmsCopyString writes the 8-bit form');
  FillChar(Ansi, SizeOf(Ansi), $CC);
  tmsCopyString(nil, @Ansi[0]);
  Check(Ansi[0] = #$CC, 'tmsCopyString of nil writes nothing');
  tmsFreeBSTR(nil);
end;

procedure CheckDays;
var
  Date: TTmsSystemTime;
begin
  Check(SizeOf(TTmsSystemTime) = 16, 'TTmsSystemTime is eight words');
  FillChar(Date, SizeOf(Date), 0);
  Date.wYear := 2000;
  Date.wMonth := 7;
  Date.wDay := 27;
  Date.wDayOfWeek := 4;
  Date.wHour := 23;
  Date.wMilliseconds := 999;
  Check(tmsGetDayNumEx(@Date) = 1, '27 July 2000 is day 1');
  Check((Date.wHour = 0) and (Date.wMilliseconds = 0) and (Date.wDayOfWeek = 4) and
    (Date.wDay = 27), 'tmsGetDayNumEx clears only the time fields');
  Date.wDay := 26;
  Check(tmsGetDayNumEx(@Date) = 0, 'the day before has no number');
  Date.wYear := 30827;
  Date.wMonth := 12;
  Date.wDay := 31;
  Check(tmsGetDayNumEx(@Date) = 10529003, 'the last day');
  Check(tmsGetDayNumEx(nil) = 0, 'tmsGetDayNumEx of nil');
  Check(tmsGetDayNum > 9000, 'today is past day 9000');
end;

procedure CheckBackupNames;
var
  Buffer: array[0..63] of AnsiChar;
begin
  FillChar(Buffer, SizeOf(Buffer), $CC);
  Check(tmsModifyOriginalFileName('C:\Docs\page.htm', @Buffer[0], 17) = 0,
    'flattening refuses length + 1');
  Check(Buffer[0] = #$CC, 'a refused flattening writes nothing');
  Check(tmsModifyOriginalFileName('C:\Docs\page.htm', @Buffer[0], $FFFFFFFF) = 1,
    'the flattening capacity is unsigned');
  Check(StrComp(PAnsiChar(@Buffer[0]), 'C~~Docs~page.htm') = 0, 'flattened name');
  FillChar(Buffer, SizeOf(Buffer), $CC);
  Check(tmsGetPathForBackup('D:\Backup', 'C:\Docs\a.htm', @Buffer[0], -1) = 0,
    'the backup capacity is signed');
  Check(Buffer[0] = #$CC, 'a refused backup path writes nothing');
  Check(tmsGetPathForBackup('D:\Backup', 'C:\Docs\a.htm', @Buffer[0], 24) = 1,
    'backup path with the exact capacity');
  Check(StrComp(PAnsiChar(@Buffer[0]), 'D:\Backup\C~~Docs~a.htm') = 0, 'backup path');
end;

procedure CheckOsName;
var
  Name: array[0..TmsOsNameSize - 1] of AnsiChar;
  Short: array[0..TmsOsNameShortSize - 1] of AnsiChar;
begin
  {$IFDEF MSWINDOWS}
  Check(tmsGetHostOSName(@Name[0], 0, 0) = 1, 'tmsGetHostOSName names this Windows');
  Check((Name[0] <> #0) and (StrComp(PAnsiChar(@Name[0]), 'Unknown OS') <> 0),
    'the long OS name is a name');
  Check(tmsGetHostOSNameShort(@Short[0]) = 1, 'tmsGetHostOSNameShort names this Windows');
  Check((Short[0] <> #0) and (StrLen(PAnsiChar(@Short[0])) < TmsOsNameShortSize),
    'the short OS name is a name');
  {$ELSE}
  { Linux has no Windows version to name. }
  Check(tmsGetHostOSName(@Name[0], 0, 1) = 0, 'tmsGetHostOSName fails on Linux');
  Check(StrComp(PAnsiChar(@Name[0]), 'Unknown OS') = 0, 'Unknown OS');
  Check(tmsGetHostOSNameShort(@Short[0]) = 0, 'tmsGetHostOSNameShort fails on Linux');
  {$ENDIF}
  Check(tmsGetHostOSNameShort(nil) = 0, 'tmsGetHostOSNameShort of nil');
end;

procedure CheckTakeTitle;
begin
  Check(TmsTakeTitle(nil) = '', 'TmsTakeTitle of nil');
end;

{$IFDEF MSWINDOWS}
  {$I tms_pascal_windows.inc}
{$ENDIF}

begin
  Passed := 0;
  Failed := 0;
  CheckVersion;
  CheckStrings;
  CheckDays;
  CheckBackupNames;
  CheckOsName;
  CheckTakeTitle;
  {$IFDEF MSWINDOWS}
  CheckPlayerTitles;
  CheckColorDialog;
  CheckTitlesDoNotLeak;
  {$ENDIF}
  WriteLn(Passed, ' passed, ', Failed, ' failed');
  if Failed > 0 then
    Halt(1);
end.
