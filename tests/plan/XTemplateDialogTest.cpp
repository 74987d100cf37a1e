// The property dialog and the list dialog of the templates, driven through a scripted port.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "app/QuilletConfig.h"
#include "core/QuilletData.h"
#include "core/SettingsList.h"
#include "plan/TemplateDialogs.h"
#include "plan/XTemplateManager.h"
#include "tests/support/ScriptedTemplateDialogs.h"
#include "tests/support/ScriptedUI.h"

namespace {

void Type(char* field, size_t size, const std::string& text) {
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

class XTemplateDialogTest : public ::testing::Test {
protected:
    TScriptedUI ui;
    TScriptedTemplateDialogs dialogs;
    TQuilletData doc;

    void SetUp() override { TQuilletData::SetCurrent(&doc); }
    void TearDown() override { TQuilletData::SetCurrent(nullptr); }
    TXTemplateManager& Templates() { return doc.GetTemplates(); }
    TXTemplate* Add(const std::string& name) {
        auto t = std::make_unique<TXTemplate>(&Templates());
        t->SetName(name);
        return static_cast<TXTemplate*>(Templates().Add(std::move(t)));
    }
};

TEST_F(XTemplateDialogTest, ThePropertyDialogChecksTheNameAndRemembersItsSize) {
    Add("Rent");
    TXTemplate* pay = Add("Pay");
    dialogs.edit = [&](TXTemplateDialogBuffer& b) {
        Type(b.fields.name, sizeof b.fields.name, "");
        EXPECT_FALSE(b.check(b.fields));
        Type(b.fields.name, sizeof b.fields.name, "Rent");
        EXPECT_FALSE(b.check(b.fields));
        Type(b.fields.name, sizeof b.fields.name, "rent");  // case counts
        EXPECT_TRUE(b.check(b.fields));
        Type(b.fields.payableTo, sizeof b.fields.payableTo, "Employer");
        b.fields.includeInPlan = 1;
        b.xtemplate->GetItems().LoadAtTop();
        b.xtemplate->GetItems().GetRowItem(1)->SetCellText(XTColDeposit, "2000");
        b.width = 1000;
        b.height = 640;
    };
    EXPECT_TRUE(pay->Edit());

    ASSERT_EQ(dialogs.opened.size(), 1u);
    const TXTemplateDialogBuffer& shown = dialogs.opened[0];
    EXPECT_EQ(shown.caption, "Transaction Template: Pay");
    EXPECT_EQ(shown.takenNames, std::vector<std::string>{"Rent"});
    EXPECT_EQ(shown.width, 960);
    EXPECT_EQ(shown.height, 540);
    EXPECT_EQ(shown.total, "0.00");
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "You must provide a label.");
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.messages[0].icon, TMsgIcon::Stop);
    EXPECT_EQ(ui.messages[1].text,
              "Label \"Rent\" is already in use.  You must use a unique label.");

    EXPECT_EQ(pay->GetName(), "rent");
    EXPECT_EQ(pay->GetPayableTo(), "Employer");
    EXPECT_TRUE(pay->GetIncludeInPlan());
    EXPECT_EQ(pay->GetItems().GetCount(), 1u);  // the blank rows went
    EXPECT_EQ(pay->GetItems().GetAt(0)->GetAmount(), 200000);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(dialogs.settings.GetString("XTemplateDlg.Width", ""), "1000");
    EXPECT_EQ(dialogs.settings.GetString("XTemplateDlg.Height", ""), "640");

    // The remembered size wins over the screen's; a dialog that lets a taken name through
    // leaves the template its own.
    dialogs.screen = TFixedScreen(1024, 768);
    dialogs.edit = [](TXTemplateDialogBuffer& b) {
        Type(b.fields.name, sizeof b.fields.name, "Rent");
    };
    pay->Edit();
    EXPECT_EQ(dialogs.opened[1].width, 1000);
    EXPECT_EQ(dialogs.opened[1].height, 640);
    EXPECT_EQ(pay->GetName(), "rent");
}

TEST_F(XTemplateDialogTest, TheListDialogKeepsItsSelectionAtItsPlace) {
    Add("Rent");
    Add("Food");
    bool ran = false;
    dialogs.manage = [&](TManagedListDialog& d) {
        ran = true;
        EXPECT_EQ(d.GetCaption(), "Transaction Templates");
        EXPECT_EQ(d.GetSelection(), 0);

        d.Select(1);
        d.CopyItem();
        EXPECT_EQ(d.GetNames(), (std::vector<std::string>{"Rent", "Food", "copy of Food"}));
        EXPECT_EQ(d.GetSelection(), 1);

        // A new template is added after its dialog, which confirms whatever happens in it.
        dialogs.edit = [](TXTemplateDialogBuffer& b) {
            Type(b.fields.name, sizeof b.fields.name, "Bonus");
        };
        d.Select(-1);
        d.AddItem();
        EXPECT_EQ(d.GetNames().back(), "Bonus");
        EXPECT_EQ(d.GetSelection(), 0);
        EXPECT_EQ(dialogs.opened.back().takenNames.size(), 3u);

        // The last one deleted: the new last is selected.
        d.Select(3);
        d.DeleteItem();
        EXPECT_EQ(d.GetSelection(), 2);
        d.Select(0);
        d.DeleteItem();
        EXPECT_EQ(d.GetNames(), (std::vector<std::string>{"Food", "copy of Food"}));
        EXPECT_EQ(d.GetSelection(), 0);
        d.DeleteItem();
        d.DeleteItem();
        EXPECT_TRUE(d.GetNames().empty());
        EXPECT_EQ(d.GetSelection(), -1);

        EXPECT_EQ(ui.beeps, 0);
        d.CopyItem();
        d.EditItem();
        d.DeleteItem();
        EXPECT_EQ(ui.beeps, 3);
    };
    ViewTransactionTemplates(doc);
    EXPECT_TRUE(ran);
    EXPECT_EQ(Templates().GetCount(), 0u);
    EXPECT_TRUE(doc.IsModified());
}

}  // namespace
