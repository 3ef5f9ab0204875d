#!/usr/bin/env python3
"""icono.py OUT.ico PICTURE.png...: packs PNG pictures, as they are, into one Windows icon file.

Windows (Vista on) reads PNG-compressed icon images of any size, so the program's own pictures are
its icon with no conversion and no tool beyond Python.
"""
import struct
import sys

salida, *pngs = sys.argv[1:]
imagenes = [open(png, "rb").read() for png in pngs]
directorio = b""
posicion = 6 + 16 * len(imagenes)
for datos in imagenes:
    # The PNG header: width and height, big-endian, right after the signature and the IHDR tag.
    ancho, alto = struct.unpack(">II", datos[16:24])
    # An ICONDIRENTRY: 0 stands for 256 pixels; 1 plane, 32 bits a pixel.
    directorio += struct.pack("<BBBBHHII", ancho % 256, alto % 256, 0, 0, 1, 32, len(datos), posicion)
    posicion += len(datos)
with open(salida, "wb") as archivo:
    archivo.write(struct.pack("<HHH", 0, 1, len(imagenes)) + directorio + b"".join(imagenes))
