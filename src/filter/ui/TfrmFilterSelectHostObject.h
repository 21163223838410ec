#pragma once
// The list editor of TFilterSelectHostObject: the codes of a filter row in a
// one-column grid, with "OK", "Zpět", "Přidat" (pick from the host list) and
// "Vyjmout" (remove the current code). OK writes the codes back into the
// owner's SelectionText, each followed by ";".

#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;

namespace kasovka {

class MemTableModel;
class TFilterSelectHostObject;

class TfrmFilterSelectHostObject : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFilterSelectHostObject(TFilterSelectHostObject &owner,
                                        QWidget *parent = nullptr);
    ~TfrmFilterSelectHostObject() override;

    // "Přidat": pick a code from the host list, starting on the current
    // code, and append it unless it is listed already (letter case ignored).
    void AddFromHostList();
    // "Vyjmout": remove the current code without asking.
    void RemoveCurrent();
    // "OK": rebuild the owner's SelectionText and close as confirmed.
    void Confirm();

    QPushButton *btnOK() const { return m_btnOK; }
    QPushButton *btnZpet() const { return m_btnZpet; }
    QPushButton *btnPridat() const { return m_btnPridat; }
    QPushButton *btnVyjmout() const { return m_btnVyjmout; }
    QTableView *grSelectedList() const { return m_grid; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void loadSelection();
    void updateButtons();

    TFilterSelectHostObject &m_owner;
    MemTableModel *m_model;
    QTableView *m_grid;
    QLabel *m_lblHeading;
    QPushButton *m_btnOK;
    QPushButton *m_btnZpet;
    QPushButton *m_btnPridat;
    QPushButton *m_btnVyjmout;
    bool m_loaded = false;
};

} // namespace kasovka
