// Folder listings: what a listing holds on each kind of server, the time stamps in local time, and the
// listing formats of servers that are not in the test set.

#include "ftp_comun.h"
#include "winapi/wininet_listing.h"

#include <QDateTime>
#include <QDir>
#include <QTimeZone>
#include <cstdlib>
#include <ctime>

namespace {

// Local time for the length of a test.
class ZonaHoraria {
public:
    explicit ZonaHoraria(const char* tz) : anterior(qgetenv("TZ")) { poner(tz); }
    ~ZonaHoraria() { poner(anterior.isNull() ? nullptr : anterior.constData()); }

private:
    static void poner(const char* tz) {
        if (tz)
            qputenv("TZ", tz);
        else
            qunsetenv("TZ");
        tzset();
    }
    QByteArray anterior;
};

class Listado : public PruebaFtp, public ::testing::WithParamInterface<Destino> {
protected:
    // A folder, a file stamped 2000-01-01 00:00 UTC and a file whose name holds a space.
    void SetUp() override {
        PruebaFtp::SetUp();
        c = cuenta(GetParam());
        QDir(c.carpeta).mkpath(QStringLiteral("lista/Sub"));
        escribir(c.carpeta + QStringLiteral("/lista/a.txt"), "12345");
        escribir(c.carpeta + QStringLiteral("/lista/b c.csv"), bytesDePrueba(300));
        QFile archivo(c.carpeta + QStringLiteral("/lista/a.txt"));
        ASSERT_TRUE(archivo.open(QIODevice::ReadWrite));
        ASSERT_TRUE(archivo.setFileTime(QDateTime(QDate(2000, 1, 1), QTime(0, 0), QTimeZone::utc()),
                                        QFileDevice::FileModificationTime));
    }
    Cuenta c;
};

TEST_P(Listado, EntradasConBanderasTamanosYFechas) {
    clsFTP ftp;
    ABRIR(ftp, c);
    ASSERT_TRUE(ftp.SetFTPDirectory(QStringLiteral("/lista")));
    ZonaHoraria utc("UTC");

    const std::shared_ptr<cDirList> lista = ftp.GetDirectoryListing(QStringLiteral("*"));
    ASSERT_TRUE(lista) << ftp.GetLastErrorMessage().toStdString();
    ASSERT_EQ(lista->Count(), 3);
    EXPECT_EQ(ftp.Directory(), lista);
    const cDirItem& a = lista->Item(QStringLiteral("A.TXT"));
    EXPECT_EQ(a.Filename, QStringLiteral("a.txt"));
    EXPECT_EQ(a.FileSize, 5);
    EXPECT_TRUE(a.Normal);
    EXPECT_FALSE(a.Directory);
    EXPECT_DOUBLE_EQ(a.LastWriteTime, 36526.0);
    EXPECT_TRUE(lista->Item(QStringLiteral("sub")).Directory);
    EXPECT_FALSE(lista->Item(QStringLiteral("sub")).Normal);
    EXPECT_EQ(lista->Item(QStringLiteral("b c.csv")).FileSize, 300);
    qint32 posicion = 0;
    for (const cDirItem& entrada : *lista)
        EXPECT_EQ(lista->Item(++posicion).Filename, entrada.Filename);

    // Six hours behind UTC, the same instant is six hours earlier on the local clock.
    ZonaHoraria mexico("<-06>6");
    const auto otra = ftp.GetDirectoryListing(QStringLiteral("a.txt"));
    ASSERT_TRUE(otra);
    EXPECT_DOUBLE_EQ(otra->Item(1).LastWriteTime, 36525.75);
    EXPECT_EQ(lista->Count(), 3) << "a list handed out earlier stays as it was";
}

TEST_P(Listado, PatronesYTamanos) {
    clsFTP ftp;
    ABRIR(ftp, c);
    ASSERT_FALSE(ftp.DeleteFTPFile(QStringLiteral("/no-existe")));
    const QString errorPrevio = ftp.GetLastErrorMessage();

    const auto csv = ftp.GetDirectoryListing(QStringLiteral("/lista/*.csv"));
    ASSERT_TRUE(csv);
    ASSERT_EQ(csv->Count(), 1);
    EXPECT_EQ(csv->Item(1).Filename, QStringLiteral("b c.csv"));
    EXPECT_EQ(ftp.GetFTPFileSize(QStringLiteral("lista/b c.csv")), 300);
    EXPECT_EQ(ftp.GetFTPFileSize(QStringLiteral("lista/nada.txt")), -1);

    EXPECT_EQ(ftp.GetDirectoryListing(QStringLiteral("lista/*.pdf")), nullptr);
    EXPECT_EQ(ftp.Directory()->Count(), 0);
    EXPECT_EQ(ftp.GetLastErrorMessage(), errorPrevio);
}

INSTANTIATE_TEST_SUITE_P(Destinos, Listado,
                         ::testing::Values(Destino::PyftpdlibPasivo, Destino::Vsftpd, Destino::Carpeta),
                         [](const auto& info) { return nombreDe(info.param); });

// Servers outside the test set answer LIST in other shapes.
struct CasoLinea {
    const char* nombre;
    QByteArray linea;
    bool mlsd;
    QByteArray archivo; // empty: the line is no entry
    wininet::DWORD atributos;
    quint32 tamano;
    QDateTime fecha;
};

void PrintTo(const CasoLinea& caso, std::ostream* os) {
    *os << caso.linea.toStdString();
}

class FormatoDeListado : public ::testing::TestWithParam<CasoLinea> {};

TEST_P(FormatoDeListado, SeLeeComoUnaEntrada) {
    const CasoLinea& caso = GetParam();
    const QDateTime ahora(QDate(2024, 3, 15), QTime(12, 0), QTimeZone::utc());
    const auto entradas = wininet::detail::parseListing(caso.linea + "\r\n", caso.mlsd, ahora);
    if (caso.archivo.isEmpty()) {
        EXPECT_TRUE(entradas.empty());
        return;
    }
    ASSERT_EQ(entradas.size(), 1u);
    const wininet::WIN32_FIND_DATAA& e = entradas.front();
    EXPECT_EQ(QByteArray(e.cFileName), caso.archivo);
    EXPECT_EQ(e.dwFileAttributes, caso.atributos);
    EXPECT_EQ(e.nFileSizeLow, caso.tamano);
    EXPECT_EQ(kernel32::fileTimeTicks(e.ftLastWriteTime),
              kernel32::fileTimeTicks(kernel32::fileTimeFromMSecsSinceEpoch(caso.fecha.toMSecsSinceEpoch())));
}

QDateTime utc(int anio, int mes, int dia, int hora = 0, int minuto = 0) {
    return QDateTime(QDate(anio, mes, dia), QTime(hora, minuto), QTimeZone::utc());
}

INSTANTIATE_TEST_SUITE_P(
    Lineas, FormatoDeListado,
    ::testing::Values(
        // Without the year, a date after today is last year's.
        CasoLinea{"UnixDeEsteAnio", "-rw-r--r--    1 1001     1001         1234 Mar 10 08:05 lista.csv",
                  false, "lista.csv", 0x80, 1234, utc(2024, 3, 10, 8, 5)},
        CasoLinea{"UnixDelAnioPasado", "-rw-r--r--    1 ftp ftp 7 Dec 31 23:59 viejo.txt", false, "viejo.txt",
                  0x80, 7, utc(2023, 12, 31, 23, 59)},
        CasoLinea{"UnixSoloLecturaConEspacios", "-r--r--r-- 1 user group 99 Jan  5  2019 dos  espacios.txt",
                  false, "dos  espacios.txt", 0x1, 99, utc(2019, 1, 5)},
        CasoLinea{"UnixSinGrupo", "drwxr-xr-x 2 owner 4096 Feb 29 10:00 carpeta", false, "carpeta", 0x10,
                  4096, utc(2024, 2, 29, 10, 0)},
        CasoLinea{"UnixEnlace", "lrwxrwxrwx 1 0 0 11 Mar 01 2020 enlace -> destino", false, "enlace", 0x80,
                  11, utc(2020, 3, 1)},
        CasoLinea{"DosArchivo", "03-14-24  08:27PM              5120 Precios.csv", false, "Precios.csv", 0x80,
                  5120, utc(2024, 3, 14, 20, 27)},
        CasoLinea{"DosCarpeta", "12-31-1999  12:00AM       <DIR>          Viejos", false, "Viejos", 0x10, 0,
                  utc(1999, 12, 31)},
        CasoLinea{"MlsdSinEscritura", "type=file;size=42;modify=20240102030405.123;perm=r; solo lectura.txt",
                  true, "solo lectura.txt", 0x1, 42, utc(2024, 1, 2, 3, 4).addSecs(5)},
        CasoLinea{"MlsdCarpetaActual", "type=cdir;modify=20240102030405; /lista", true, "", 0, 0, {}},
        CasoLinea{"TotalDeLs", "total 12", false, "", 0, 0, {}}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(cDirList, ClavesSinMayusculasPosicionesYBanderas) {
    cDirList lista;
    lista.Add(0x21, 1, 2, 3, 10, QStringLiteral("Precios.csv"));
    lista.Add(0x10, 0, 0, 0, 0, QStringLiteral("carpeta"));
    lista.Add(0x80, 0, 0, 0, 99, QStringLiteral("PRECIOS.CSV"));

    ASSERT_EQ(lista.Count(), 2) << "a name already there keeps its first entry";
    const cDirItem& p = lista.Item(QStringLiteral("precios.CSV"));
    EXPECT_EQ(p.FileSize, 10);
    EXPECT_TRUE(p.ReadOnly && p.Archive);
    EXPECT_FALSE(p.Hidden || p.System || p.Directory || p.Normal || p.Temporary || p.Compressed || p.Offline);
    EXPECT_EQ(p.CreationTime, 1);
    EXPECT_EQ(p.LastAccessTime, 2);
    EXPECT_EQ(p.LastWriteTime, 3);
    EXPECT_EQ(lista.Item(2).Filename, QStringLiteral("carpeta"));
    EXPECT_THROW(lista.Item(3), std::out_of_range);
    EXPECT_THROW(lista.Item(0), std::out_of_range);
    EXPECT_THROW(lista.Item(QStringLiteral("otro")), std::out_of_range);
    lista.Clear();
    EXPECT_EQ(lista.Count(), 0);
    EXPECT_THROW(lista.Item(QStringLiteral("carpeta")), std::out_of_range);
}

} // namespace
