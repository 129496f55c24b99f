// Text numbers of the tool manager (configuration page 3).
#pragma once

namespace zev::ToolText {
// cmdChange_Click and the tool change
constexpr int ChangeSplash = 326, NoneSelected = 381, AlreadyActive = 382, OnRemovable = 383;
// cmdNewTool_Click
constexpr int NewName = 365, NewExists = 366, NewYes = 367, NewNo = 368;
constexpr int SelectDrive = 414, NoSpace = 415, NoSpaceEnd = 416, NoRecipes = 417;
constexpr int DriveOneTool = 496, DriveTools = 497, DriveFree = 498;
// DoCopyTool, copy and import/export hints
constexpr int CopyName = 342, CopyYes = 343, CopyNo = 344, CopyDone = 345, CopyOf = 362;
constexpr int CopyExists = 296, CopyDirsFailed = 412, CopyIniFailed = 413, CopyFailedOk = 369;
constexpr int CopyHint = 358, CopyHintOk = 359, ExportHint = 360, ExportHintOk = 361;
// cmdRenameTool_Click
constexpr int RenameNone = 409, RenameActive = 410, RenameName = 411;
constexpr int RenameExists = 373, RenameYes = 374, RenameNo = 375;
// cmdDelete_Click
constexpr int DeleteNone = 418, DeleteActive = 338, DeleteAsk = 339, DeleteAskEnd = 292;
constexpr int DeleteYes = 317, DeleteNo = 318, DeleteFailed = 295, DeleteFailedOk = 363;
// content of a tool
constexpr int DetailCopyHint = 384, DetailNone = 385, DetailActive = 386;
constexpr int AskDiag = 387, AskDiagEnd = 388, AskRecipe = 389, AskRecipeEnd = 390, AskOther = 391, AskOtherEnd = 392;
constexpr int DetailYes = 393, DetailNo = 394, OneRecipe = 395, Recipes = 396;
constexpr int DetailEnter = 404, DetailExists = 405, DetailExistsEnd = 406, DetailYes2 = 407, DetailNo2 = 408;
constexpr int DirExists = 466, DirExistsEnd = 467, DirYes = 468, DirNo = 469, DirFailed = 470, DirDone = 471;
constexpr int RecipeExists = 472, RecipeYes = 473, RecipeNo = 474, RecipeName = 475, RecipeCopyOf = 476;
constexpr int RecipeFailed = 477, RecipeDone = 478;
// own numbers (docs/texts.md)
constexpr int KindRecipes = 422;    // 422..426: the content kinds as listed
constexpr int KindDirPics = 427;    // 427, 428: the folders DoCopyDir copies, as its messages name them
constexpr int RenameRecipe = 429, RenameDiag = 430;        // what cmdRenameDetail_Click asks for
constexpr int ExistsRecipe = 431, ExistsDiag = 432;        // "Es existiert bereits " ...
constexpr int GroupRemovable = 433, GroupFixed = 434, GroupRemote = 435;
constexpr int CmdChange = 436, CmdNew = 437, CmdCopy = 438, CmdImportExport = 439, CmdRename = 440, CmdDelete = 441;
constexpr int CmdCopyDetail = 442, CmdRenameDetail = 443, CmdDeleteDetail = 444;
constexpr int PartialRemoved = 445, RenameFailed = 446, NameNotAllowed = 447, DetailDeleteFailed = 448;
constexpr int CreateFailed = 449, ActiveMark = 450, PreviewCaption = 451, ToolsCaption = 452, ContentCaption = 453;
}  // namespace zev::ToolText
