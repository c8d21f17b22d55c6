#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QProcess>
#include <QTest>

#include "AppInfo.h"
#include "ClassRegistry.h"
#include "ComponentCategories.h"
#include "ObjectCreator.h"
#include "OleControl.h"
#include "PaletteGeometry.h"
#include "PickerTestSupport.h"
#include "PropertyFrame.h"
#include "PropertyPage.h"
#include "TestSupport.h"

// These tests load the built libTintora.so, as the main program does, into a temporary
// program folder whose registry the library writes.
namespace {

using plat::ClassId;
namespace disp = tintora::disp;

const ClassId kControl = ClassId::FromString(tintora::kClsidCtrl);
const ClassId kGeneral = ClassId::FromString(tintora::kClsidPropPage);
const ClassId kAbout = ClassId::FromString(tintora::kClsidAboutPage);
const uint32_t kUsEnglish = 1033;

QString libraryFile() { return QFileInfo(TINTORA_LIBRARY).absoluteFilePath(); }

class TintoraRegistration : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(lib.load()) << qPrintable(lib.errorString()); }
    void TearDown() override { plat::ObjectCreator::FreeUnusedLibraries(); }
    plat::HResult call(const char* name) {
        auto fn = reinterpret_cast<plat::DllServerFn>(lib.resolve(name));
        return fn ? fn() : plat::kFail;
    }

    TempProgramFolder folder;
    QLibrary lib{libraryFile()};
    plat::ClassRegistry classes;
    plat::ComponentCategories categories;
};

using TintoraCreation = TintoraRegistration;

}  // namespace

TEST_F(TintoraRegistration, RegisteringWritesTheClassesTypeLibraryAndBothCategories) {
    ASSERT_EQ(call("DllRegisterServer"), plat::kOk);
    EXPECT_TRUE(QFileInfo::exists(folder.file("Registry.ini")));
    EXPECT_EQ(classes.LibraryOf(kControl), libraryFile());
    EXPECT_EQ(classes.NameOf(kControl), "Tintora Control");
    EXPECT_EQ(classes.ClassOfProgId("Tintora.TintoraCtrl.1"), kControl);
    EXPECT_EQ(classes.MiscStatusOf(kControl), 0x20591u);
    EXPECT_EQ(classes.NameOf(kGeneral), "Tintora Property Page");
    EXPECT_EQ(classes.ClassOfProgId("Tintora.TintoraPropPage.1"), kGeneral);
    EXPECT_EQ(classes.NameOf(kAbout), "About Tintora");
    EXPECT_EQ(classes.ClassOfProgId("Tintora.CAboutPropPage"), kAbout);
    EXPECT_TRUE(classes.IsTypeLibRegistered(ClassId::FromString(tintora::kLibId), "1.0"));
    EXPECT_EQ(classes.registry().Value(QString("Interface\\") + tintora::kIidEvents, "HelpString"),
              "Event interface for Tintora Control");
    EXPECT_EQ(categories.Description(plat::kCatidSafeForInitializing, kUsEnglish),
              "Controls safely initializable from persistent data!");
    EXPECT_EQ(categories.Description(plat::kCatidSafeForScripting, kUsEnglish),
              "Controls safely scriptable!");
    EXPECT_TRUE(categories.Implements(kControl, plat::kCatidSafeForInitializing));
    EXPECT_TRUE(categories.Implements(kControl, plat::kCatidSafeForScripting));
    EXPECT_EQ(categories.ClassesOf(plat::kCatidSafeForScripting), QList<ClassId>{kControl});
    // Registering again changes nothing.
    ASSERT_EQ(call("DllRegisterServer"), plat::kOk);
    EXPECT_EQ(categories.CategoriesOf(kControl).size(), 2);
}

TEST_F(TintoraRegistration, UnregisteringRemovesTheClassesButLeavesTheCategories) {
    ASSERT_EQ(call("DllRegisterServer"), plat::kOk);
    ASSERT_EQ(call("DllUnregisterServer"), plat::kOk);
    for (const ClassId& id : {kControl, kGeneral, kAbout})
        EXPECT_FALSE(classes.IsClassRegistered(id)) << qPrintable(id.ToString());
    EXPECT_TRUE(classes.ClassOfProgId("Tintora.TintoraCtrl.1").IsNull());
    EXPECT_FALSE(classes.IsTypeLibRegistered(ClassId::FromString(tintora::kLibId), "1.0"));
    EXPECT_TRUE(categories.CategoriesOf(kControl).isEmpty());
    EXPECT_TRUE(categories.ClassesOf(plat::kCatidSafeForInitializing).isEmpty());
    EXPECT_TRUE(categories.IsCategoryRegistered(plat::kCatidSafeForScripting));
    EXPECT_EQ(categories.Description(plat::kCatidSafeForScripting, kUsEnglish),
              "Controls safely scriptable!");
    EXPECT_EQ(plat::ObjectCreator::CreateControl(kControl, nullptr), nullptr);
}

TEST_F(TintoraRegistration, AnUnwritableRegistryFailsAtTheTypeLibraryStep) {
    ASSERT_TRUE(QDir(folder.path()).mkdir("Registry.ini"));  // a folder where the file goes
    EXPECT_EQ(call("DllRegisterServer"), plat::kSelfRegTypeLib);
}

TEST_F(TintoraRegistration, AnUnknownClassIdIsRefused) {
    ASSERT_EQ(call("DllRegisterServer"), plat::kOk);
    auto get = reinterpret_cast<plat::DllGetClassObjectFn>(lib.resolve("DllGetClassObject"));
    ASSERT_NE(get, nullptr);
    const ClassId unknown = ClassId::FromString("{00000000-1111-2222-3333-444444444444}");
    plat::ClassFactory* factory = reinterpret_cast<plat::ClassFactory*>(1);
    EXPECT_EQ(get(&unknown, &factory), plat::kClassNotAvailable);
    EXPECT_EQ(factory, nullptr);
    EXPECT_EQ(get(nullptr, &factory), plat::kClassNotAvailable);
    EXPECT_EQ(get(&kControl, nullptr), plat::kFail);
    EXPECT_EQ(get(&kGeneral, &factory), plat::kOk);
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(factory->Kind(), plat::ObjectKind::PropertyPage);

    QString error;
    EXPECT_EQ(plat::ObjectCreator::CreateControl(unknown, nullptr, &error), nullptr);
    EXPECT_TRUE(error.contains("not registered")) << qPrintable(error);
    // A registered class of another kind is no control.
    EXPECT_EQ(plat::ObjectCreator::CreateControl(kGeneral, nullptr, &error), nullptr);
}

TEST_F(TintoraRegistration, TheLibraryMayGoOnlyWhenNoObjectOfItLives) {
    ASSERT_EQ(call("DllRegisterServer"), plat::kOk);
    EXPECT_EQ(call("DllCanUnloadNow"), plat::kOk);
    auto* dialog = new QDialog;
    plat::OleControl* control = plat::ObjectCreator::CreateControl(kControl, dialog);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(call("DllCanUnloadNow"), plat::kFalse);
    EXPECT_EQ(plat::ObjectCreator::FreeUnusedLibraries(), 0);
    EXPECT_TRUE(plat::ObjectCreator::IsLoaded(libraryFile()));
    delete dialog;
    EXPECT_EQ(call("DllCanUnloadNow"), plat::kOk);
    EXPECT_EQ(plat::ObjectCreator::FreeUnusedLibraries(), 1);
    EXPECT_FALSE(plat::ObjectCreator::IsLoaded(libraryFile()));
}

TEST_F(TintoraCreation, AHostCreatesTheControlByClassIdAndReceivesColorClick) {
    ASSERT_EQ(call("DllRegisterServer"), plat::kOk);
    QDialog dialog;
    QString error;
    plat::OleControl* picker = plat::ObjectCreator::CreateControl(kControl, &dialog, &error);
    ASSERT_NE(picker, nullptr) << qPrintable(error);
    EXPECT_EQ(picker->size(), QSize(28, 28));
    EXPECT_EQ(picker->Dispatch().InterfaceName(), "_DTintora");
    EXPECT_EQ(picker->Events().IdOfName("ColorClick"), tintora::event::ColorClick);
    const plat::DispMember* event = picker->Events().Find("ColorClick");
    ASSERT_NE(event, nullptr);
    ASSERT_EQ(event->params.size(), 2);
    EXPECT_EQ(event->params[0].name, "clrColor");
    EXPECT_EQ(event->params[0].type, plat::VarType::Color);
    EXPECT_EQ(event->params[1].name, "nItem");
    EXPECT_EQ(event->params[1].type, plat::VarType::Short);

    ClickLog log;
    picker->Advise(&log);
    ASSERT_TRUE(picker->PutProperty(disp::Color, QVariant::fromValue(0x8000000Fu)));
    ASSERT_TRUE(picker->CallMethod(disp::ShowColor));
    const std::vector<QWidget*> palettes = PaletteWindows();
    ASSERT_EQ(palettes.size(), 1u);
    QWidget* palette = palettes.front();
    EXPECT_TRUE(palette->isVisible());
    EXPECT_EQ(palette->parentWidget(), &dialog);

    QTest::mouseClick(palette->windowHandle(), Qt::LeftButton, {},
                      PaletteGeometry::CellRect(14).center());
    ASSERT_EQ(log.clicks.size(), 1u);
    EXPECT_EQ(log.clicks[0].colour, 0x0080FFu);  // the third orange
    EXPECT_EQ(log.clicks[0].item, 14);
    EXPECT_FALSE(palette->isVisible());
    QVariant colour;
    ASSERT_TRUE(picker->GetProperty(disp::Color, colour));
    EXPECT_EQ(colour.toUInt(), 0x0080FFu);
    picker->Unadvise(&log);
}

TEST_F(TintoraCreation, TheControlsPropertyPagesComeFromItsLibraryAndThisLayer) {
    ASSERT_EQ(call("DllRegisterServer"), plat::kOk);
    QDialog dialog;
    plat::OleControl* picker = plat::ObjectCreator::CreateControl(kControl, &dialog);
    ASSERT_NE(picker, nullptr);
    plat::PropertyFrame frame;
    frame.AddPagesOf(picker);
    ASSERT_EQ(frame.PageCount(), 3);
    EXPECT_EQ(frame.Page(0)->Caption(), "General");
    EXPECT_EQ(frame.Page(1)->Caption(), "Colors");
    EXPECT_EQ(frame.Page(2)->Caption(), "About");
}

// A fresh host process: it knows only the program id and the registry.
ROSTIMA_CHILD(createPicker) {
    QDialog dialog;
    QString error;
    const ClassId id = plat::ClassRegistry().ClassOfProgId("Tintora.TintoraCtrl.1");
    plat::OleControl* picker = plat::ObjectCreator::CreateControl(id, &dialog, &error);
    ChildSay(picker ? "created " + picker->Dispatch().InterfaceName() : "failed " + error);
    return 0;
}

TEST_F(TintoraCreation, AnotherProcessCreatesTheControlFromItsProgramIdAlone) {
    ASSERT_EQ(call("DllRegisterServer"), plat::kOk);
    ChildProcess child(folder, "createPicker");
    EXPECT_EQ(child.readLine(), "created _DTintora");
    EXPECT_EQ(child.finish(), 0);
}

// Creates the control as the program of its folder would and says whose library serves it.
ROSTIMA_CHILD(pickerLibrary) {
    QDialog dialog;
    const ClassId id = plat::ClassRegistry().ClassOfProgId("Tintora.TintoraCtrl.1");
    plat::OleControl* picker = plat::ObjectCreator::CreateControl(id, &dialog);
    const bool own = plat::ObjectCreator::IsLoaded(plat::AppPath() + "/libTintora.so");
    ChildSay(!picker ? "failed" : own ? "own library" : "another library");
    return 0;
}

TEST(TintoraProgramFolder, RegisteredByARelativeNameAndCopiedElsewhereUsesItsOwnLibrary) {
    TempProgramFolder first;
    for (const QString& file : {QString(ROSREGSVR_TOOL), libraryFile()})
        ASSERT_TRUE(QFile::copy(file, first.file(QFileInfo(file).fileName())));
    QProcess tool;
    tool.setWorkingDirectory(first.path());
    tool.start(first.file("RosRegSvr"), {"libTintora.so"});
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_EQ(plat::ClassRegistry().LibraryOf(kControl), first.file("libTintora.so"));

    // The whole folder copied elsewhere, the first one still there.
    TempProgramFolder copy;
    for (const char* name : {"Registry.ini", "libTintora.so"})
        ASSERT_TRUE(QFile::copy(first.file(name), copy.file(name)));
    EXPECT_EQ(plat::ClassRegistry().LibraryOf(kControl), copy.file("libTintora.so"));
    ChildProcess child(copy, "pickerLibrary");
    EXPECT_EQ(child.readLine(), "own library");
    EXPECT_EQ(child.finish(), 0);
    // A full path recorded by an earlier build, now gone: the folder's own copy serves.
    plat::Registry registry;
    ASSERT_TRUE(registry.SetValue(QString("CLSID\\") + tintora::kClsidCtrl + "\\InprocServer32",
                                  QString(), "/gone/away/libTintora.so"));
    EXPECT_EQ(plat::ClassRegistry().LibraryOf(kControl), copy.file("libTintora.so"));
}
