#!/usr/bin/env bash
# Starts the servers the tests use: MariaDB with root reachable over TCP on 127.0.0.1 with an empty
# password, and a system user for vsftpd (which logs users in through PAM). The FTP servers
# themselves are started by the test fixtures, each on a port of its own.
set -euo pipefail

if ! mysqladmin --protocol=socket ping >/dev/null 2>&1; then
    service mariadb start >/dev/null 2>&1 || {
        mkdir -p /run/mysqld && chown mysql:mysql /run/mysqld
        (mysqld_safe --user=mysql >/dev/null 2>&1 &)
    }
    for _ in $(seq 1 60); do
        mysqladmin --protocol=socket ping >/dev/null 2>&1 && break
        sleep 0.5
    done
fi
mysql --protocol=socket -uroot <<'SQL'
ALTER USER 'root'@'localhost' IDENTIFIED VIA unix_socket OR mysql_native_password USING PASSWORD('');
CREATE USER IF NOT EXISTS 'root'@'127.0.0.1' IDENTIFIED BY '';
GRANT ALL PRIVILEGES ON *.* TO 'root'@'127.0.0.1' WITH GRANT OPTION;
FLUSH PRIVILEGES;
SQL
mysql -h127.0.0.1 -P3306 -uroot -e 'SELECT 1' >/dev/null

# vsftpd test account; the fixture gives it its own home folder for each run.
if ! id catalogoftp >/dev/null 2>&1; then
    useradd --create-home --shell /bin/bash catalogoftp
fi
echo 'catalogoftp:catalogo-prueba' | chpasswd
