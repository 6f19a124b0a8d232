/* Reference positions for the sky tests, straight from libswe, as swetest gives them:
 *   planets: swetest -bj<jd> -p0123456 -fPl -head -eswe   (the moment as ephemeris time)
 *   angles:  swetest -bj<jd - delta T> -ut -house<lon>,<lat>,P -fPl -head
 * Usage: skyreference YEAR MONTH DAY HOUR LATITUDE LONGITUDE
 *   HOUR in decimal hours of Universal Time; LATITUDE north and LONGITUDE east positive, given
 *   as the single-precision values the program holds.
 * Build: cc tools/skyreference.c -o skyreference $(pkg-config --cflags --libs swe)
 */
#include <stdio.h>
#include <stdlib.h>
#include <swephexp.h>

int main(int argc, char **argv)
{
    if (argc != 7) {
        fprintf(stderr, "usage: %s YEAR MONTH DAY HOUR LATITUDE LONGITUDE\n", argv[0]);
        return 2;
    }
    const int year = atoi(argv[1]), month = atoi(argv[2]), day = atoi(argv[3]);
    const double hour = atof(argv[4]);
    const float latitude = (float)atof(argv[5]), longitude = (float)atof(argv[6]);
    const int flags = SEFLG_SWIEPH | SEFLG_SPEED;
    char error[AS_MAXCH];

    const double jd = swe_julday(year, month, day, hour, SE_GREG_CAL);
    const double jdut = jd - swe_deltat(jd);
    printf("jd %.10f jdut %.10f lat %.9g lon %.9g\n", jd, jdut, latitude, longitude);
    printf("planets (Sun..Saturn):");
    for (int p = SE_SUN; p <= SE_SATURN; ++p) {
        double x[6];
        if (swe_calc(jd, p, flags, x, error) < 0) {
            fprintf(stderr, "%s\n", error);
            return 1;
        }
        printf(" %.7f", x[0]);
    }
    double cusps[13], ascmc[10];
    swe_houses_ex(jdut, flags, latitude, longitude, 'P', cusps, ascmc);
    printf("\nascendant %.7f mc %.7f\n", ascmc[SE_ASC], ascmc[SE_MC]);
    swe_close();
    return 0;
}
