#pragma once
// Gas level sensor calibration: the sensor type, the four lamp thresholds (settings items 40…44) and
// the live lamps and sensor voltage. While it is shown the controller is polled for the level sensor
// (bit 1 of the link's poll mode); every way out of the window clears that bit again.
#include "dialogs/TDialog.h"
#include "widgets/TWidoki.h"

#include <QPointer>
#include <array>

class QComboBox;
class QFrame;
class TKatalogNastaw;
class TStrzalki;
class TSterownik;

class TFormLevel : public TDialog, public TOdbiorcaOdczytow {
    Q_OBJECT
public:
    static constexpr uint32_t BitPoziomu = 1u << 1; // poll mode: level sensor
    static constexpr uint32_t Szary = 0xA4A0A0;
    static constexpr uint32_t Zielony = 0x00A000;
    static constexpr uint32_t Czerwony = 200;

    explicit TFormLevel(QWidget *parent = nullptr);
    ~TFormLevel() override;

    void Przygotuj(TKatalogNastaw *catalogue);
    // Every way out (OK, Esc, the close box, the owner closing) ends the level poll.
    void done(int r) override;

    // Live lamps and voltage from a polling reply (bytes 13 and 50).
    bool Widoczny() const override { return isVisible(); }
    void NowyOdczyt(const uint8_t *reply) override;

    // List change and threshold step, as the controls call them.
    void ComboBox1Change(int index);
    void UpDownClick(int item, int v);
    void Wypelnij(); // threshold fields with their order colours

    // Which threshold fields (items 41…44) are out of order with a neighbour, for a sensor type.
    static std::array<bool, 4> PozaKolejnoscia(int type, int t41, int t42, int t43, int t44);

    uint32_t KolorLampki(int lamp) const { return lampki_[size_t(lamp)]; } // 0 reserve, 1…4
    bool CzerwonyProg(int i) const { return czerwone_[size_t(i)]; }

    std::array<QFrame *, 5> Lampa{};     // 0 reserve, 1…4 lamps 1…4
    std::array<QLineEdit *, 4> Prog{};   // items 41…44
    std::array<TStrzalki *, 4> UpDown{}; // tags 41…44
    QLabel *Label1, *Label2, *Label3;
    QComboBox *ComboBox1;
    QLineEdit *EditNapiecie;

protected:
    bool MaDane() const override { return katalog_ != nullptr; }
    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;

private:
    void Lampka(int lamp, uint32_t colour);
    void KoniecPomiaru();
    TKatalogNastaw *katalog_ = nullptr;
    QPointer<TSterownik> link_;
    // The last lamp byte and voltage byte shown; Zapomniane, outside the byte range, makes the next
    // reply update both (255 is a real reading: an open-circuit sensor).
    static constexpr int Zapomniane = -1;
    int ostatnieLampki_ = Zapomniane;
    int ostatnieNapiecie_ = Zapomniane;
    std::array<uint32_t, 5> lampki_{};
    std::array<bool, 4> czerwone_{};
};
