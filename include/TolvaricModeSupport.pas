{ TolvaricModeSupport: import unit for Delphi and Free Pascal hosts.

  The same thirteen functions as TolvaricModeSupport.h, imported by name:
  from TolvaricModeSupport.DLL with stdcall on Windows (32- and 64-bit; x64
  has one convention and ignores the directive), from
  libTolvaricModeSupport.so with cdecl elsewhere.

  Buffers and ownership, as in the C header:
  - PAnsiChar results go into the caller's buffer. Only tmsGetPathForBackup
    and tmsModifyOriginalFileName take a capacity; otherwise supply the sizes
    below (TmsOsNameSize and so on).
  - A TTmsBstr result (tmsGetCurrentMusic, tmsGetCurrentVideo) belongs to the
    caller: read it, or copy it to ANSI (tmsGetStringLength, then
    tmsCopyString into three bytes per unit plus one, which holds the text
    in every ANSI code page, UTF-8 (65001) included), then release it
    exactly once with tmsFreeBSTR. nil means no title.
    TmsTakeTitle does all of that for the common case: it returns the title
    as a UnicodeString and releases the library's string.
    Do not put it in a WideString: assigning copies the text and leaves the
    library's string unreleased, and a cast would have the WideString free
    it with its own allocator. }
unit TolvaricModeSupport;

{$IFDEF FPC}
  {$MODE DELPHI}
{$ENDIF}

interface

const
{$IFDEF MSWINDOWS}
  TmsLibraryName = 'TolvaricModeSupport.DLL';
{$ELSE}
  {$IFDEF FPC}
  TmsLibraryName = 'TolvaricModeSupport'; { linked as -lTolvaricModeSupport }
  {$ELSE}
  TmsLibraryName = 'libTolvaricModeSupport.so';
  {$ENDIF}
{$ENDIF}

  { Results of DllGetVersion. }
  TMS_S_OK = 0;
  TMS_E_INVALIDARG = LongInt($80070057);

  { Sizes in bytes, terminator included. }
  TmsDllVersionInfoSize = 20; { the only cbSize DllGetVersion accepts }
  TmsHtmlColorSize = 8;       { '#RRGGBB' }
  TmsOsNameSize = 182;        { tmsGetHostOSName }
  TmsOsNameShortSize = 130;   { tmsGetHostOSNameShort }

type
  TTmsResult = LongInt;
  { A UTF-16 string that the library allocated; see the note above. }
  TTmsBstr = PWideChar;
  { A window handle (HWND); 0 for none. }
  TTmsWindow = NativeUInt;

  { The layout of the Windows SYSTEMTIME. }
  TTmsSystemTime = record
    wYear, wMonth, wDayOfWeek, wDay: Word;
    wHour, wMinute, wSecond, wMilliseconds: Word;
  end;
  PTmsSystemTime = ^TTmsSystemTime;

  { The layout of the Windows shell's DLLVERSIONINFO. }
  TTmsDllVersionInfo = record
    cbSize, dwMajorVersion, dwMinorVersion, dwBuildNumber, dwPlatformID: LongWord;
  end;
  PTmsDllVersionInfo = ^TTmsDllVersionInfo;

{ 1. Info^.cbSize must be 20: fills version 1.0 build 10, platform 1, and
  returns TMS_S_OK; TMS_E_INVALIDARG, writing nothing, otherwise. }
function DllGetVersion(Info: PTmsDllVersionInfo): TTmsResult;
  {$IFDEF MSWINDOWS} stdcall; {$ELSE} cdecl; {$ENDIF}
  external TmsLibraryName name 'DllGetVersion';

{ 2. Writes the ANSI form of Source, with its terminator, into Destination
  (no capacity: see the note above). nil for either does nothing. }
procedure tmsCopyString(Source: PWideChar; Destination: PAnsiChar);
  {$IFDEF MSWINDOWS} stdcall; {$ELSE} cdecl; {$ENDIF}
  external TmsLibraryName name 'tmsCopyString';

{ 3. Releases a TTmsBstr that the library returned; nil does nothing. }
procedure tmsFreeBSTR(Bstr: TTmsBstr);
  {$IFDEF MSWINDOWS} stdcall; {$ELSE} cdecl; {$ENDIF}
  external TmsLibraryName name 'tmsFreeBSTR';

{ 4, 5. Title of the music / video a running player plays, or nil. Non-zero
  HtmlRefs writes characters from U+0080 up as "&#NNN;" (NT family only).
  The caller releases a non-nil result with tmsFreeBSTR. }
function tmsGetCurrentMusic(HtmlRefs: LongInt): TTmsBstr;
  {$IFDEF MSWINDOWS} stdcall; {$ELSE} cdecl; {$ENDIF}
  external TmsLibraryName name 'tmsGetCurrentMusic';
function tmsGetCurrentVideo(HtmlRefs: LongInt): TTmsBstr;
  {$IFDEF MSWINDOWS} stdcall; {$ELSE} cdecl; {$ENDIF}
  external TmsLibraryName name 'tmsGetCurrentVideo';

{ 6, 7. Day number, 27 July 2000 being day 1: of today's local date, or of
  Date^, whose four time fields are set to 0. 0 for nil, for an earlier date
  and for an invalid date. }
function tmsGetDayNum: LongInt;
  {$IFDEF MSWINDOWS} stdcall; {$ELSE} cdecl; {$ENDIF}
  external TmsLibraryName name 'tmsGetDayNum';
function tmsGetDayNumEx(Date: PTmsSystemTime): LongInt;
  {$IFDEF MSWINDOWS} stdcall; {$ELSE} cdecl; {$ENDIF}
  external TmsLibraryName name 'tmsGetDayNumEx';

{ 8. Opens the colour dialog (owned by Owner, may be 0). Color: at least
  TmsHtmlColorSize bytes; receives '#RRGGBB', or '' when cancelled.
  Non-zero when a colour was chosen. }
function tmsGetHTMLColor(Owner: TTmsWindow; Color: PAnsiChar): LongInt;
  {$IFDEF MSWINDOWS} stdcall; {$ELSE} cdecl; {$ENDIF}
  external TmsLibraryName name 'tmsGetHTMLColor';

{ 9, 10. Name of the operating system into Buffer: TmsOsNameSize bytes for
  the long form, TmsOsNameShortSize for the short. 1; 0 with 'Unknown OS'
  when the version cannot be read; 0 for a nil buffer. }
function tmsGetHostOSName(Buffer: PAnsiChar; OmitVendor, BreakLine: LongInt): LongInt;
  {$IFDEF MSWINDOWS} stdcall; {$ELSE} cdecl; {$ENDIF}
  external TmsLibraryName name 'tmsGetHostOSName';
function tmsGetHostOSNameShort(Buffer: PAnsiChar): LongInt;
  {$IFDEF MSWINDOWS} stdcall; {$ELSE} cdecl; {$ENDIF}
  external TmsLibraryName name 'tmsGetHostOSNameShort';

{ 11. Folder, a backslash unless Folder ends in one, and Source flattened.
  Capacity (signed) must be at least Length(Folder) + Length(Source) + 2.
  1; 0, writing nothing, otherwise. }
function tmsGetPathForBackup(Folder, Source, Destination: PAnsiChar;
  Capacity: LongInt): LongInt;
  {$IFDEF MSWINDOWS} stdcall; {$ELSE} cdecl; {$ENDIF}
  external TmsLibraryName name 'tmsGetPathForBackup';

{ 12. UTF-16 units before the first zero unit; 0 for nil. }
function tmsGetStringLength(Text: PWideChar): LongInt;
  {$IFDEF MSWINDOWS} stdcall; {$ELSE} cdecl; {$ENDIF}
  external TmsLibraryName name 'tmsGetStringLength';

{ 13. Source with every ':' and '\' turned into '~'. Capacity (unsigned)
  must be at least Length(Source) + 2. 1; 0, writing nothing, otherwise. }
function tmsModifyOriginalFileName(Source, Destination: PAnsiChar;
  Capacity: LongWord): LongInt;
  {$IFDEF MSWINDOWS} stdcall; {$ELSE} cdecl; {$ENDIF}
  external TmsLibraryName name 'tmsModifyOriginalFileName';

{ Copies a title that tmsGetCurrentMusic or tmsGetCurrentVideo returned
  into a UnicodeString and releases the library's string, exactly once, even
  when the copy fails. nil gives ''. Call it straight on the result:
  Title := TmsTakeTitle(tmsGetCurrentMusic(0)); }
function TmsTakeTitle(Title: TTmsBstr): UnicodeString;

implementation

function TmsTakeTitle(Title: TTmsBstr): UnicodeString;
begin
  Result := '';
  if Title = nil then
    Exit;
  try
    SetString(Result, Title, tmsGetStringLength(Title));
  finally
    tmsFreeBSTR(Title);
  end;
end;

end.
