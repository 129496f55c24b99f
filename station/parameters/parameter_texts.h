// Text numbers of the parameter view that several files share.
#pragma once

namespace zev::ParamText {
constexpr int Yes = 977, No = 978;
constexpr int BoostRestoring = 985;
constexpr int ErrorsHeader = 987, Retry = 988, Cancel = 989;
constexpr int SetValueOfZone = 990, NotSet = 991;
constexpr int RestoreRetry = 992, RestoreCancel = 993;
constexpr int ModeNotSet = 995;
constexpr int SetpointPrompt = 996, OutputPrompt = 997;
constexpr int ModeOff = 998;  // 999 manual, 1000 control
constexpr int OutputsOnCaption = 1003, OutputsOffCaption = 1004;
constexpr int RestartQuestion = 1007, RestartYes = 1008, RestartNo = 1009;
constexpr int FactoryQuestion = 1014;
constexpr int NoZonesSelected = 1015;
constexpr int RestoreErrorsHeader = 1016;
constexpr int InputOf = 1017;
constexpr int FillTable = 1018, FillTable2 = 1109;
constexpr int TuningOffCaption = 1020, TuningOnCaption = 1021;
constexpr int TuningSuffixOn = 1022, TuningSuffixOff = 1023;
constexpr int TuningHeader = 1024, TuningStatus = 1025, TuningNotSet = 1026, TuningRetry = 1027, TuningCancel = 1028;
constexpr int AckHeader = 1029, AckStatus = 1030, AckNotSet = 1031, AckRetry = 1032, AckCancel = 1033;
constexpr int ParamStatus = 1034, ParamOfZone = 1035, ParamHeader = 1036, ParamNotSet = 1037;
constexpr int ParamRetry = 1038, ParamCancel = 1039;
constexpr int ModeControlSuffix = 1040, ModeManualSuffix = 1041, ModeOffSuffix = 1042;
constexpr int ModeHeader = 1043, ModeStatus = 1044, ModeRetry = 1045, ModeCancel = 1046;
constexpr int SetpointFor = 1049, OutputFor = 1050;
constexpr int Cabinet = 1054;
constexpr int PrintNoZones = 1059, PrintNoGlobals = 1060;
constexpr int PrintTool = 1064, PrintDate = 1065, PrintZone = 1067, PrintUnit = 1068, PrintPage = 1069;
constexpr int PrintTool2 = 1071, PrintDate2 = 1072, PrintUnit2 = 1073, PrintPage2 = 1074;
constexpr int CabinetHeader = 1079;
constexpr int PrintingGlobals = 1082, PrintGlobalsFailed = 1083, PrintingZones = 1084, PrintZonesFailed = 1085;
constexpr int PrintNotAvailable = 1098;
constexpr int SetpointBlocked = 1116, IsMonitorZone = 1117, Restricted = 1118, Repeat = 1119, Ignore = 1120;
constexpr int OutputsOfTower = 1121, OutputsNotOn = 1122, OutputsNotOff = 1123;
constexpr int TabZoneParameters = 1124, TabInput = 1125;
constexpr int Send = 1126, Reload = 1127;
constexpr int CaptionCurrent = 1128, CaptionOutput = 1129, CaptionSetpoint = 1130, CaptionActual = 1131;
constexpr int Back = 1132, LoadRecipe = 1133, StoreRecipe = 1134;
constexpr int StartZev = 1135, BoostOn = 1136, SingleZone = 1137, BoostOff = 1138, TuningAck = 1139;
constexpr int TabGlobals = 1140, BoostFrame = 1141, OutputsFrame = 1142, TuningFrame = 1143, Print = 1144;
constexpr int FactorySettings = 1145, ShowGlobalTable = 1146, TabRecipes = 1147, ShowZoneTable = 1148;
constexpr int ModeFrame = 1150, RecipeHint = 1151, NoRecipe = 1152;
constexpr int CaptionTool = 1091, CaptionRecipe = 1092, RecipeIs = 1093, NotCurrent = 1099;
constexpr int StandardRecipe = 1107, RecipeDiffers = 1108;
constexpr int HeldBack = 570;  // own text
constexpr int OfflineRefused = 1409;
constexpr int WithoutGroup = 214, Selection = 215;

// Texts of our own (docs/texts.md).
constexpr int RecordMode = 986;
constexpr int RecordSetpoint = 1001;
constexpr int RecordOutputRate = 1002;
constexpr int RecordBoostOn = 1019;
constexpr int RecordBoostOff = 1047;
constexpr int RecordTuningOn = 1048;
constexpr int RecordTuningOff = 1053;
constexpr int RecordTuningAck = 1055;
constexpr int RecordOutputsOn = 1056;
constexpr int RecordOutputsOff = 1057;
constexpr int RecordRestart = 1058;
constexpr int RecordFactory = 1061;
constexpr int Controller = 1062;
constexpr int RecordParameter = 1063;
constexpr int To = 1066;
constexpr int NoDriver = 1070;
constexpr int ValueUnknown = 1075;
constexpr int OutOfRange = 1076;
constexpr int BusyRefused = 1077;
constexpr int Measuring = 1078;
constexpr int Information = 1080;
constexpr int Zones = 1110;
constexpr int ZoneCaption = 1111;
}  // namespace zev::ParamText
