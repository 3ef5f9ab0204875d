#pragma once
// Window positions and sizes are stored in twips (1/1440 inch), as the point-of-sale's programs keep
// them, and converted with the screen's logical DPI: 15 twips per pixel at 96 DPI.

double TwipsPorPixelX();
double TwipsPorPixelY();

int PixelesX(double twips);
int PixelesY(double twips);
