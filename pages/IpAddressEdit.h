#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>

class QLineEdit;

// The IP address control: four fields of digits, each 0 to 255, read and set as one address.
// A field takes no more than a number of that range can be; typing '.' or the third digit moves
// on to the next field.
class IpAddressEdit : public QWidget {
    Q_OBJECT
public:
    using Address = std::array<uint8_t, 4>;

    explicit IpAddressEdit(QWidget* parent = nullptr);

    // Empty fields read as 0.
    Address address() const;
    // The address when all four fields hold a number; nullopt while any is empty, so a field
    // left blank is not taken for a 0 nobody typed.
    std::optional<Address> typedAddress() const;
    void setAddress(const Address& address);
    // Empties the four fields.
    void clear();
    // "%d.%d.%d.%d".
    QString text() const;
    QLineEdit* field(int index) const { return m_fields[static_cast<size_t>(index)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void moveOn(int index);

    std::array<QLineEdit*, 4> m_fields{};
};
