// The named texts of the interface: each is named by its key in the language file, holds an
// English text until a language file is applied, and is read at the moment it is used.
#pragma once

#include <vector>

#include "vcl/sysutils.h"

struct TNamedTexts {
  // section "MainForm"
  WideString Kavoclosed = L"closed.";
  WideString Floaded = L"loaded.";
  WideString Msg1 = L"Do you really want to delete the selected track?";
  WideString Msg2 = L"The VobSub index file names no subtitle file.";
  WideString Msg3 = L"Output folder:";
  WideString Msg4 = L"Please choose the path of MP4Box.exe on the settings page.";
  WideString Msg41 = L"MP4Box was not found.";
  WideString Msg5 = L"Creating";
  WideString Msg6 = L"Command line used";
  WideString Msg7 = L"Do you want to quit Kavo?";
  WideString Msg12 = L"Command line used for tagging";
  WideString Msg13 = L"Tagging of";
  WideString MsgOverwritten = L"will be overwritten.";
  WideString MsgOverwriteOrNot = L"Do you want to overwrite";
  WideString MsgNotCompatible1 = L"This file is not compatible with this task.";
  WideString MsgNotCompatible2 = L"This file cannot be handled by this task.";
  WideString MsgStarted = L"Kavo started.";
  WideString MSgOSType = L"Operating system:";
  WideString MsgMP4BoxFound = L"MP4Box found.";
  WideString MsgMP4BoxMissing = L"MP4Box is missing.";
  WideString MsgTaggerMissing = L"No tagger is set.";
  WideString BadTagger = L"This file is not a supported tagger.";
  WideString BadMP4Box = L"This file is not MP4Box.exe.";
  WideString Msgx264VFWCompatiblity = L"Only AVI files whose video is H.264 can be converted to MP4.";
  WideString MsgNotifying = L"Notice";
  WideString btYes = L"&Yes";
  WideString btNo = L"&No";
  WideString ProcessIsRunningMsg = L"A process is running. Please wait until it ends or abort it.";
  WideString MsgTaggerFound = L"Tagger found:";
  WideString MsgTaggerFoundButNotSupported = L"Tagger found but not supported:";
  WideString rawAVCMsg = L"An AVC track has no frame rate. Please set one in its properties.";
  WideString OverwriteMsgExp = L"The existing file will be replaced by the new one.";
  WideString ClickToHideMsg = L"Hide details";
  WideString ClickToSeeMoreMsg = L"See details";
  // the tag page's notices ("%s" stands for file names or a tag list)
  WideString TagMsgNotMP4Box = L"The files of this page are tagged by MP4Box: choose MP4Box.exe as the tagger on the settings page (AtomicParsley tags only a new file, after its creation).";
  WideString TagMsgNoneChecked = L"Please check at least one file to tag.";
  WideString TagMsgReadOnlyFiles = L"These files are read-only and cannot be tagged: %s";
  WideString TagMsgUnspellable = L"This MP4Box cannot reach these files by their names (use MP4Box 0.6.0 or later, or rename them): %s";
  WideString TagMsgReadOnly = L"%s is read-only: it was left as it was.";
  WideString TagMsgLostTags = L"%s was left as it was: its tagged copy, read back, does not hold these as it should (%s).";
  WideString TagMsgNotReplaced = L"%s could not be replaced by its tagged copy; the file is unchanged.";
  WideString TagMsgTaggerReplaced = L"MP4Box is now the tagger, in place of %s.";
  // section "MuxPage"
  WideString TitleText = L"MP4 File Creation";
  WideString TitleText2 = L"3GP File Creation";
  // section "ProcessPage"
  WideString ConvAborted = L"Conversion aborted.";
  WideString ConvFailded = L"Conversion failed.";
  WideString ConvSucceed = L"Conversion succeeded.";
  WideString ExtractAborted = L"Extraction aborted.";
  WideString ExtractFailded = L"Extraction failed.";
  WideString ExtractSucceed = L"Extraction succeeded.";
  WideString ConcatAborted = L"Joining aborted.";
  WideString ConcatFailed = L"Joining failed.";
  WideString ConcatSucceed = L"Joining succeeded.";
  WideString CreateAborted = L"Creation aborted.";
  WideString CreateFailed = L"Creation failed.";
  WideString CreateSucceed = L"Creation succeeded.";
  WideString SplitAborted = L"Splitting aborted.";
  WideString SplitFailed = L"Splitting failed.";
  WideString SplitSucceed = L"Splitting succeeded.";
  WideString TagAborted = L"Tagging aborted.";
  WideString TagFailed = L"Tagging failed.";
  WideString TagSucceed = L"Tagging succeeded.";
  WideString ImportAVIVideo = L"Importing AVI video...";
  WideString ImportAVIAudio = L"Importing AVI audio...";
  WideString ImportVobsubFile = L"Importing VobSub subtitles...";
  WideString ImportISOFile = L"Importing ISO file...";
  WideString ImportSRTFile = L"Importing SRT subtitles...";
  WideString ImportTTXTFile = L"Importing TTXT subtitles...";
  WideString ImportAACFile = L"Importing AAC audio...";
  WideString ImportImageFile = L"Importing picture...";
  WideString StoringFile = L"Storing file";
  WideString ImportM4VFile = L"Importing MPEG-4 video...";
  WideString ImportPSVideoFile = L"Importing MPEG-PS video...";
  WideString ImportPSAudioFile = L"Importing MPEG-PS audio...";
  WideString ImportTSFile = L"Importing MPEG-2 TS...";
  WideString ImportMP3File = L"Importing MP3 audio...";
  WideString ImportAVCFile = L"Importing AVC/H.264 video...";
  WideString ImportNHNTFile = L"Importing NHNT file...";
  WideString ImportNHMLFile = L"Importing NHML file...";
  WideString ImportAMRFile = L"Importing AMR audio...";
  WideString ImportEVRCFile = L"Importing EVRC audio...";
  WideString ImportSMVFile = L"Importing SMV audio...";
  WideString ImportQCPFile = L"Importing QCP audio...";
  WideString ImportAMRWBFile = L"Importing AMR-WB audio...";
  WideString ImportOGGVideo = L"Importing OGG video...";
  WideString ImportOGGAudio = L"Importing OGG audio...";
  WideString ImportSAFFile = L"Importing SAF file...";
  WideString ImportH263File = L"Importing H.263 video...";
  WideString ImportTeXMLFile = L"Importing TeXML subtitles...";
  WideString FileW = L"Writing the file...";
  WideString FileI = L"Exporting...";
  WideString FileS = L"Splitting...";
  WideString FileA = L"Appending...";
  WideString FileTag = L"Writing the tags...";
  WideString UnknownPID = L"Unknown PID found.";
  WideString InvalidUTF = L"Invalid UTF data.";
  WideString MsgError = L"An error occurred.";
  WideString ToolExitCode = L"exit code";  // after a failed run's reason: "(exit code 1)"
  WideString AVCinAVIDetect = L"H.264 video found in an AVI file.";
  WideString CmdUsedForExtract = L"Command line used for the extraction";
  WideString FinishCaption = L"Finish";
  WideString MsgNewTask = L"Answer No to start a new task.";
  WideString ClickToHide = L"Hide details";
  WideString ClickToSeeMore = L"See details";
  // section "SplitPage"
  WideString Split10 = L"";
  WideString Split11 = L"";
  WideString Split12 = L"";
  WideString Split13 = L"";
  WideString Split14 = L"";
  WideString Split15 = L"";
  WideString Split20 = L"";
  WideString Split21 = L"";
  WideString Split22 = L"";
  WideString Split23 = L"";
  WideString Split24 = L"";
  WideString Split30 = L"";
  WideString Split31 = L"";
  WideString Split32 = L"";
  WideString Split33 = L"";
  WideString Split34 = L"";
  WideString Split40 = L"";
  WideString Split41 = L"";
  WideString Split50 = L"";
  WideString Split51 = L"";
  // the split page's refusals ("%s" stands for the value typed)
  WideString SplitMsgNoInput = L"Please choose the file to split.";
  WideString SplitMsgBadSize = L"The part size \"%s\" is not a whole number of megabytes.";
  WideString SplitMsgBadTime = L"\"%s\" is not a time: give seconds, hh:mm or hh:mm:ss.";
  WideString SplitMsgZeroDuration = L"The duration of the parts must be longer than 0 seconds.";
  WideString SplitMsgEmptyRange = L"The end of the part must come after its start.";
  WideString SplitMsgNoChapters = L"This file has no chapters.";
  // section "ExtractPage"
  WideString ExtractToAVI = L"to AVI";
  WideString ExtractToRAW = L"to raw stream";
  WideString ExtractToMP4 = L"to MP4";
  WideString ExtractVideoStream = L"Video stream";
  WideString ExtractAudioStream = L"Audio stream";
  WideString ExtractToSRT = L"to SRT";
  WideString ExtractToTTXT = L"to TTXT";
  WideString ExtractToOGM = L"to OGM text";
  WideString ExtractToCUE = L"to cue sheet";
  WideString MsgExtractRawVideo = L"Extracting the raw video of";
  WideString MsgExtractRawAudio = L"Extracting the raw audio of";
  WideString MsgExtractVobSub = L"Extracting the VobSub subtitles of";
  WideString MsgExtractSubtitle = L"Extracting the subtitles of";
  WideString MsgToSRTFormat = L"to SRT format...";
  WideString MsgToTTXTFormat = L"to TTXT format...";
  WideString MsgExtractChapters = L"Extracting the chapters of";
  WideString MsgToOGMTextFormat = L"to OGM text format...";
  WideString MsgToCueSheetFormat = L"to cue sheet format...";
  WideString MsgEncapsulateVideoInMP4 = L"Putting the video of";
  WideString MsgEncapsulateVideoInAVI = L"Putting the video of";
  WideString MsgCmdUsedForExtraction = L"Command line used for the extraction";
  WideString MsgFilesSavedIn = L"Files saved in";
  // section "Properties"
  WideString lbType = L"Type";
  WideString lbVideoStream = L"Video stream";
  WideString lbAudioStream = L"Audio stream";
  WideString lbSubStream = L"Subtitle stream";
  WideString lbInfo = L"Information";
  WideString lbFile = L"File";
};

// Where the language file keeps a named text: its section and key, and the member it fills.
struct TNamedTextKey {
  const char* Section;
  const char* Key;
  WideString TNamedTexts::*Text;
};

// Every named text, in the order of the language file's sections.
const std::vector<TNamedTextKey>& NamedTextKeys();

// The program's current texts (the language loader writes them).
TNamedTexts& NamedTexts();
