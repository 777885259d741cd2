#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace app {

class Shop;

// The administrator's login window: name and password against BA2 and BB2 of the index sheet,
// and the change of both. After a login it stays loaded, hidden, for as long as the program runs.
class Form10 : public QWidget {
    Q_OBJECT
public:
    explicit Form10(Shop& shop, QWidget* parent = nullptr);

    // The window's load once the data workbook is open: the short height, the change fields
    // hidden, the stored name in the name field.
    void load();

    static constexpr int kLoginHeight = 3180;   // twips
    static constexpr int kChangeHeight = 5700;

    QLabel* Label1;
    QLineEdit* Text1;
    QLabel* Label2;
    QLineEdit* Text2;
    QCheckBox* Check1;
    QLabel* Label3;
    QLineEdit* Text3;
    QLabel* Label4;
    QLineEdit* Text4;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;

signals:
    void loggedIn();
    // The login was given up: ObektEksel is gone and the program is to end.
    void cancelled();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fitTitle();
    void buildControls();
    void connectControls();
    void potvardiVhod();
    void potvardiPromyanata();
    void otkazPromyana();
    void check1Changed(bool ticked);
    void showChangeFields(bool shown);
    void setHeightTwips(int twips);
    bool credentialsMatch() const;
    void endWithoutLogin();

    Shop& shop_;
    bool loggedIn_ = false;
    bool ended_ = false;
};

} // namespace app
