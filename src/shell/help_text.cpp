#include "shell/help_text.h"

#include <map>
#include <utility>

namespace tavrin {

namespace {

using Lines = std::vector<std::string>;

// ---- help pages ---------------------------------------------------------------

const std::vector<std::pair<std::string, HelpPage>>& pages() {
  static const std::vector<std::pair<std::string, HelpPage>> kPages = {
      {"HelpIntro",
       {"Help - Introduction",
        {
            "Tavrin prepares, runs and inspects models of eclipsing binary stars. The modelling itself is done by "
            "two console programs that lie beside Tavrin: Synthex (LC) computes light curves and radial-velocity "
            "curves from a parameter set, and Solvex (DC) fits the parameters to observations by differential "
            "corrections. Tavrin computes no light curve itself.",
            "The program has three parts. The editor on the main window holds the whole parameter set and writes "
            "it as an LC input file (LCI) or a DC input file (DCI); the windows of the menus Adjust, Datafiles, "
            "Spots and Misc. edit the parts of the set that DC and the spot model need.",
            "The Run menu writes a small script next to the program and starts LC or DC on the current input "
            "file; the program's report (LCO or DCO) is written into the data folder.",
            "The output displays read those reports back: Display LCO draws the computed light or velocity curve "
            "together with your observations, Load DCO and Display DCO show DC's corrections, standard deviations "
            "and correlations, apply corrections to the editor or revert to earlier values.",
            "Click the label of any parameter to see what it means and which values it takes. Fields you edit "
            "turn blue until the next save or load; in DC mode the labels of the parameters DC adjusts are red.",
        }}},
      {"HelpModes",
       {"Help - Modes",
        {
            "MODE sets the constraints that tie the two stars' surface potentials, temperatures and luminosities "
            "together. Star 1 is the star eclipsed at primary minimum.",
            "Mode -1 (X-ray binary): star 2 is a compact X-ray source. The potential of star 1 is computed from "
            "the semi-duration THE of the X-ray eclipse, the mass ratio and the inclination.",
            "Mode 0 (no constraints): both potentials, both temperatures and both luminosities L1 and L2 are "
            "free; L2 is not computed from T2.",
            "Mode 1 (overcontact, T1 = T2): both stars share one common envelope. The potential of star 2 equals "
            "that of star 1, and T2, the gravity-darkening exponent, albedo and limb darkening of star 2 are set "
            "equal to those of star 1.",
            "Mode 2 (detached): the potentials are free and independent; L2 is computed from the temperatures "
            "and the model unless IPB is 1.",
            "Mode 3 (overcontact, T2 adjusted): common envelope with the potential of star 2 equal to that of "
            "star 1, but the two temperatures are independent (stars not in thermal contact).",
            "Mode 4 (semidetached): star 1 fills its Roche lobe; its potential is computed from the mass ratio "
            "(and F1, E) as the inner critical potential.",
            "Mode 5 (semidetached, Algol type): star 2 fills its Roche lobe; its potential is computed as the "
            "inner critical potential from the mass ratio.",
            "Mode 6 (double contact): both stars fill their limiting lobes; both potentials are computed from the "
            "mass ratio and the rotation rates.",
            "When you save, Tavrin computes the critical potentials from the mass ratio and refuses or adjusts a "
            "save whose potentials contradict the chosen mode; Crit.Pot'ls shows these values.",
        }}},
      {"HelpLCIfiles",
       {"Help - Edit LCI Files",
        {
            "To create an LC input file, choose LC mode with the option button at the top, then choose JDPHS: "
            "1 when the output is to be computed at times (JD start, JD stop, JD incr.), 2 when at phases "
            "(Ph.start, Ph.stop, Ph.incr.).",
            "Fill in the boxes. Click any parameter label to read what it means and which values it may take. "
            "Rad/Conv sets typical gravity darkening and albedo for a radiative or convective envelope.",
            "Save LCI File writes an LCI file under the name you choose. The kind of file is decided by the "
            "command you use, not by the extension: Save LCI File always writes the LC layout, whatever the "
            "name ends with. Save File saves again under the current name without asking.",
            "Load LCI File reads an LCI file: the editor switches to LC mode, shows the file's values and the "
            "window caption shows the file name. Loading an LCI file drops the name of any DCI file in use.",
        }}},
      {"HelpDCIfiles",
       {"Help - Edit DCI Files",
        {
            "To create a DC input file, choose DC mode; the fields that only LC reads are hidden and the fields "
            "of DC (N1L, N2L, ISYM) appear. Fill in the boxes; click a parameter label for its help.",
            "Adjust chooses which parameters DC corrects: each key is 0 for adjust or 1 for keep. The labels of "
            "adjusted parameters turn red. The increments window holds the step DC uses for each parameter's "
            "numerical derivatives.",
            "Datafiles lists the observed curves (velocity curves and light curves, one band each) with their "
            "weights, wavelengths, luminosities and limb darkening; its button loads a curve's observations "
            "from a comma-separated file. Misc. holds the remaining DC controls: what DC prints into its "
            "report, the Marquardt lambda that damps the corrections, and the number of data points per line "
            "of the DCI file.",
            "Save DCI File writes the DC layout whatever the extension; Load DCI File switches the editor to DC "
            "mode, fills every table from the file and shows the name in the caption. Loading a DCI file drops "
            "the name of any LCI file in use.",
        }}},
      {"HelpRunLCDC",
       {"Help - Run LC/Solvex",
        {
            "Synthex (LC) and Solvex (DC) must lie in the folder Tavrin was started from, or be installed next "
            "to Tavrin. The Run menu shows Run LC or Run DC according to the mode.",
            "Standard runs the program on the current input file and writes the report into the data folder "
            "under the input's name with the extension .lco or .dco. Custom asks for the report's name; the "
            "program is taken from the program folder or, failing that, from the search path. The program runs in its own console window; Tavrin does not wait for it.",
            "A light curve takes from a second to a minute depending on the grid sizes N1 and N2; a DC "
            "iteration takes several times as long, since every adjusted parameter needs its own derivative "
            "curves. Each DC run fits one parameter set; load the DCO, apply the corrections and run again to "
            "iterate.",
            "Files of the older layout show \"*\" after the name in the caption. Save such a file again before "
            "running, so that the programs read the current layout.",
        }}},
      {"HelpDisplayLCO",
       {"Help - Display LCO",
        {
            "Standard reads the report of the last standard LC run; Custom lets you pick any LCO file. The page "
            "of the report (MPAGE 1: light curve, 2: velocity curves) decides which plot window opens.",
            "The plot's Plot menu chooses what is drawn (the computed curve, the observed data or both); the "
            "Options menu joins the points with lines, draws grid lines and sets the vertical scale (Y scale; "
            "the velocity plot follows its curves until a range is set, and again when both boxes are left "
            "empty); the light-curve window also sets the curve colour.",
            "Observed points are loaded from comma-separated files (time or phase, value, and optionally a "
            "weight) with the plot window's File menu: Load LC Data Points for a light curve, Load RV1 and RV2 "
            "Data Points for the two velocity curves. Unload Data Points removes them again. Export Image saves "
            "the picture; Print prints it.",
        }}},
      {"HelpDisplayDCO",
       {"Help - Display DCO",
        {
            "Load DCO reads DC's report: Standard the report of the last standard run, Custom any DCO file. It "
            "must be loaded before anything can be displayed.",
            "Correlations shows DC's correlation matrix of the adjusted parameters. Values near +1 or -1 mean "
            "that two parameters cannot be determined separately from the data.",
            "Corrections to Parameters lists, for each adjusted parameter, the input value, DC's correction, "
            "the output value and its standard deviation. Update puts a corrected value into the editor; the "
            "changed fields turn blue. Revert to Previous Parms puts back the values from before the last "
            "standard DC run.",
        }}},
      {"HelpReferences",
       {"Help - References",
        {
            "The light-curve model: a Roche-geometry model of close binaries with model atmospheres, limb and "
            "gravity darkening, reflection and spots, described in the astrophysical literature of the 1970s "
            "onward.",
            "1. Roche model of light curves of close binaries with elliptic orbits and non-synchronous "
            "rotation (Astrophysical Journal, 1971 and 1979).",
            "2. The differential-corrections method for fitting light and velocity curves simultaneously "
            "(Astrophysical Journal, 1971 and 1976).",
            "3. Treatment of reflection, spots and eccentric orbits in the model (Astrophysical Journal, 1990).",
            "4. Model atmospheres in the light-curve model (Astrophysical Journal, 2003 and later).",
            "The model's own manual, supplied with the programs, describes every parameter and control integer "
            "in full.",
        }}},
  };
  return kPages;
}

// ---- parameter help -------------------------------------------------------------

const std::map<int, Lines>& topics() {
  static const std::map<int, Lines> kTopics = {
      {1, {"MPAGE - kind of output", "  1: light curve (relative flux or magnitude)",
           "  2: radial-velocity curves of both stars",
           "  The report's page decides which plot is drawn."}},
      {2, {"NREF - number of reflections", "  Used only with detailed reflection (MREF = 2).",
           "  1 counts each star's light once reflected;",
           "  larger values (2..4) follow multiple reflections", "  at a longer computing time."}},
      {3, {"MREF - reflection treatment", "  1: simple (each star a point source of heat)",
           "  2: detailed (surface elements illuminate",
           "     each other; NREF reflections)"}},
      {4, {"IFSMV1 - spots on star 1 move", "  0: spots stay fixed on the star's surface",
           "  1: spots drift in longitude with the star's",
           "     asynchronous rotation (F1 not 1)"}},
      {5, {"IFSMV2 - spots on star 2 move", "  0: spots stay fixed on the star's surface",
           "  1: spots drift in longitude with the star's",
           "     asynchronous rotation (F2 not 1)"}},
      {6, {"ICOR1 - corrections to velocity curve 1", "  0: star 1's velocity is that of its centre of mass",
           "  1: include proximity and eclipse effects",
           "     (tides, reflection, rotation in eclipse)"}},
      {7, {"ICOR2 - corrections to velocity curve 2", "  0: star 2's velocity is that of its centre of mass",
           "  1: include proximity and eclipse effects",
           "     (tides, reflection, rotation in eclipse)"}},
      {8, {"LD - limb-darkening law", "  1: linear (x only)", "  2: logarithmic (x and y)",
           "  3: square root (x and y)", "  With law 1 the y coefficients are not used."}},
      {9, {"JDPHS - independent variable", "  1: time (heliocentric Julian Date)",
           "  2: phase (0..1 for one orbit)",
           "  Decides whether the output range is given by",
           "  JD start/stop/incr. or by phase start/stop/incr."}},
      {10, {"HJD0 - ephemeris zero point", "  Heliocentric Julian Date of a primary minimum",
            "  (conjunction with star 1 eclipsed), in days.",
            "  Phase 0 falls on this time. Any real number;",
            "  the full JD or JD - 2400000 may be used,",
            "  as long as the observations use the same."}},
      {11, {"PERIOD - orbital period", "  In days, greater than 0.",
            "  The sidereal period at the time HJD0."}},
      {12, {"DPDT - period change", "  First time derivative of the period,",
            "  in days per day (dimensionless).", "  0 for a constant period; typical values",
            "  are of order 1e-10 to 1e-7."}},
      {13, {"PSHIFT - phase shift", "  Constant added to every computed phase,",
            "  in units of the period, normally between",
            "  -0.5 and 0.5. Moves the primary minimum",
            "  when the ephemeris is slightly off."}},
      {14, {"Frac. SD - noise level", "  Standard deviation of the artificial noise",
            "  as a fraction of the light (e.g. 0.01 for 1%).",
            "  Used only when Noise is 1; 0 or more."}},
      {15, {"Noise - artificial noise", "  0: exact computed light curve",
            "  1: add random noise with the fractional",
            "     standard deviation Frac. SD"}},
      {16, {"Seed - random-number seed", "  Starting value of the noise generator,",
            "  a positive whole number of up to 9 digits.",
            "  The same seed repeats the same noise."}},
      {17, {"JD start - first time of the output", "  Heliocentric Julian Date of the first point",
            "  computed. Used when JDPHS is 1."}},
      {18, {"JD stop - last time of the output", "  Heliocentric Julian Date of the last point,",
            "  not earlier than JD start. Used when JDPHS is 1."}},
      {19, {"JD incr. - time step of the output", "  Days between computed points, greater than 0.",
            "  Used when JDPHS is 1."}},
      {20, {"PHSTRT - first phase of the output", "  Phase of the first computed point, e.g. 0 or",
            "  -0.25. Used when JDPHS is 2."}},
      {21, {"PHSTOP - last phase of the output", "  Phase of the last computed point, not smaller",
            "  than PHSTRT; 1.2 shows a little more than", "  one orbit. Used when JDPHS is 2."}},
      {22, {"Ph. incr. - phase step of the output", "  Phase between computed points, greater than 0;",
            "  0.001 to 0.01 is usual. Used when JDPHS is 2."}},
      {23, {"Ph. norm. - phase of normalisation", "  The computed light is scaled to 1 (or to Factor)",
            "  at this phase; 0.25 (a quadrature) is usual.", "  Between 0 and 1."}},
      {24, {"MODE - constraint mode", "  -1: X-ray binary", "   0: no constraints", "   1: overcontact, T1 = T2",
            "   2: detached", "   3: overcontact, T2 adjusted", "   4: semidetached, star 1 fills its lobe",
            "   5: semidetached Algol, star 2 fills its lobe", "   6: double contact",
            "  See Help - Modes for what each mode computes."}},
      {25, {"IPB - luminosity of star 2", "  0: L2 is computed from T2 and the model",
            "  1: L2 is a free parameter, independent of T2", "  (always free in mode 0)."}},
      {26, {"IFAT1 - radiation law of star 1", "  0: black body", "  1: model atmospheres (uses T1, log g",
            "     and [M/H])"}},
      {27, {"IFAT2 - radiation law of star 2", "  0: black body", "  1: model atmospheres (uses T2, log g",
            "     and [M/H])"}},
      {28, {"N1 - surface grid of star 1", "  Number of latitude rows on a quarter of the",
            "  star's surface. 10..60; larger is more exact", "  and slower. 30 suits most light curves."}},
      {29, {"N2 - surface grid of star 2", "  Number of latitude rows on a quarter of the",
            "  star's surface. 10..60; larger is more exact", "  and slower. 30 suits most light curves."}},
      {30, {"PER - argument of periastron", "  Angle of the periastron measured in the orbit",
            "  plane, in radians, 0 to 6.2832.", "  Not used when the eccentricity E is 0."}},
      {31, {"DPERDT - apsidal motion", "  Rate of change of the argument of periastron,",
            "  radians per day. 0 for a fixed orbit."}},
      {32, {"THE - X-ray eclipse semi-duration", "  Half the duration of the X-ray eclipse, in",
            "  units of the period (0..0.5).", "  Used only in mode -1."}},
      {33, {"VUNIT - velocity unit", "  The unit of velocities in km/s, e.g. 100:",
            "  Vgamma and the velocity output are given", "  in this unit. Greater than 0."}},
      {34, {"E - eccentricity", "  Eccentricity of the orbit, 0 (circular)", "  up to but below 1."}},
      {35, {"A - semi-major axis", "  Semi-major axis of the relative orbit,",
            "  in solar radii, greater than 0.", "  Sets the absolute size of the system and",
            "  the scale of the velocities."}},
      {36, {"F1 - rotation of star 1", "  Ratio of the star's angular rotation rate to",
            "  the mean orbital rate; 1 = synchronous.", "  Greater than 0."}},
      {37, {"F2 - rotation of star 2", "  Ratio of the star's angular rotation rate to",
            "  the mean orbital rate; 1 = synchronous.", "  Greater than 0."}},
      {38, {"Vgamma - systemic velocity", "  Radial velocity of the centre of mass,",
            "  in units of VUNIT (positive: receding)."}},
      {39, {"XINCL - orbital inclination", "  Angle between the orbit's axis and the line",
            "  of sight, in degrees, 0..180. Eclipses need", "  a value near 90."}},
      {40, {"GR1 - gravity darkening of star 1", "  Exponent of the local flux in the gravity:",
            "  1.0 for radiative envelopes (hot stars),", "  0.32 for convective envelopes (cool stars)."}},
      {41, {"GR2 - gravity darkening of star 2", "  Exponent of the local flux in the gravity:",
            "  1.0 for radiative envelopes (hot stars),", "  0.32 for convective envelopes (cool stars)."}},
      {42, {"T1 - temperature of star 1", "  Mean effective surface temperature, kelvin,",
            "  e.g. 5800. Written to the input files in", "  units of 10000 K."}},
      {43, {"T2 - temperature of star 2", "  Mean effective surface temperature, kelvin,",
            "  e.g. 4500. Written to the input files in", "  units of 10000 K. Equal to T1 in mode 1."}},
      {44, {"ALB1 - bolometric albedo of star 1", "  Fraction of the irradiating energy that is",
            "  re-radiated: 1.0 radiative, 0.5 convective.", "  Between 0 and 1."}},
      {45, {"ALB2 - bolometric albedo of star 2", "  Fraction of the irradiating energy that is",
            "  re-radiated: 1.0 radiative, 0.5 convective.", "  Between 0 and 1."}},
      {46, {"POTH - surface potential of star 1", "  Dimensionless modified Roche potential of",
            "  the star's surface; a larger value means a", "  smaller star. Greater than 0.",
            "  Computed by the program in modes 4 and 6."}},
      {47, {"POT2 - surface potential of star 2", "  Dimensionless modified Roche potential of",
            "  the star's surface; a larger value means a", "  smaller star. Greater than 0.",
            "  Equal to POTH in the overcontact modes;", "  computed in modes 5 and 6."}},
      {48, {"RM - mass ratio", "  Mass of star 2 divided by mass of star 1,",
            "  greater than 0. Fixes the critical Roche", "  potentials (see Crit.Pot'ls)."}},
      {49, {"XBOL1 - bolometric limb darkening x, star 1", "  Linear coefficient of the bolometric",
            "  limb-darkening law, 0..1. Used for", "  reflection."}},
      {50, {"XBOL2 - bolometric limb darkening x, star 2", "  Linear coefficient of the bolometric",
            "  limb-darkening law, 0..1. Used for", "  reflection."}},
      {51, {"YBOL1 - bolometric limb darkening y, star 1", "  Second coefficient of the logarithmic or",
            "  square-root law, 0..1; unused with LD = 1."}},
      {52, {"YBOL2 - bolometric limb darkening y, star 2", "  Second coefficient of the logarithmic or",
            "  square-root law, 0..1; unused with LD = 1."}},
      {53, {"Wavelength - of the light curve", "  Effective wavelength of the band in",
            "  micrometres, greater than 0 (e.g. 0.44 for B).",
            "  Choosing a band fills in its wavelength."}},
      {54, {"L1 - luminosity of star 1", "  Monochromatic luminosity of star 1 in the",
            "  band, in the program's relative units;", "  greater than 0. Sets the light scale."}},
      {55, {"L2 - luminosity of star 2", "  Monochromatic luminosity of star 2 in the",
            "  band; used as given only when IPB is 1 or", "  in mode 0, otherwise computed from T2."}},
      {56, {"X1 - limb darkening x of star 1", "  Linear coefficient of the monochromatic",
            "  limb-darkening law in the band, 0..1."}},
      {57, {"X2 - limb darkening x of star 2", "  Linear coefficient of the monochromatic",
            "  limb-darkening law in the band, 0..1."}},
      {58, {"Y1 - limb darkening y of star 1", "  Second coefficient of the logarithmic or",
            "  square-root law in the band, 0..1;", "  unused with LD = 1."}},
      {59, {"Y2 - limb darkening y of star 2", "  Second coefficient of the logarithmic or",
            "  square-root law in the band, 0..1;", "  unused with LD = 1."}},
      {60, {"EL3 - third light", "  Light of a third body in the band, in the",
            "  same units as the stars' light; 0 or more.", "  0 when there is no third light."}},
      {61, {"OPSF - opacity function", "  Opacity of matter between the stars in the",
            "  band, affecting light passing near them.", "  Normally 0 (no extra opacity)."}},
      {62, {"Zero pt. - magnitude zero point", "  Magnitude of the system at the normalising",
            "  light level; only changes the magnitude", "  column of the output. Any real number."}},
      {63, {"Factor - light scale factor", "  The computed light at the phase of",
            "  normalisation is scaled to this value;", "  1 gives normalised flux. Greater than 0."}},
      {64, {"ISYM - symmetric derivatives", "  0: one-sided numerical derivatives (faster)",
            "  1: symmetric (two-sided) derivatives,", "     more exact, twice the computing time"}},
      {65, {"N1L - coarse grid of star 1 (DC)", "  Surface grid used by DC for the derivatives,",
            "  normally smaller than N1, e.g. 15.", "  10..60."}},
      {66, {"N2L - coarse grid of star 2 (DC)", "  Surface grid used by DC for the derivatives,",
            "  normally smaller than N2, e.g. 15.", "  10..60."}},
      {67, {"V fac", "  Velocity factor: the unit in which velocities", "  are given, in km/s (see VUNIT).",
            "  Greater than 0."}},
      {68, {"Lng. Per", "  Longitude (argument) of periastron in radians,",
            "  0 to 6.2832; see PER. Meaningless for a", "  circular orbit."}},
      {95, {"Band - photometric band", "  The filter of the light curve, from the list",
            "  (u v b y, U B V R I, J K L M N, Rc Ic, the", "  ultraviolet bands, Tycho and Hipparcos).",
            "  Choosing a band sets the wavelength and", "  selects the model-atmosphere tables."}},
      {96, {"[M/H] - metallicity", "  Logarithmic metal abundance relative to the",
            "  Sun, e.g. 0.0 solar, -1.0 one tenth solar.", "  About -5 to +1; used by the model",
            "  atmospheres (IFAT = 1)."}},
      {99, {"Spots A and B:", "  DC can adjust two spots, called A and B.",
            "  For each, give the star (1 or 2) and the", "  spot's number on that star.",
            "  Parameters 1..4: latitude, longitude, radius", "  and temperature factor of spot A;",
            "  parameters 5..8: the same for spot B.", "  Angles in degrees on the Spots window."}},
  };
  return kTopics;
}

}  // namespace

std::optional<HelpPage> helpPageForMenuItem(std::string_view menuItem) {
  for (const auto& [name, page] : pages())
    if (name == menuItem) return page;
  return std::nullopt;
}

const std::vector<std::string>& helpPageMenuItems() {
  static const std::vector<std::string> kItems = [] {
    std::vector<std::string> v;
    for (const auto& [name, page] : pages()) v.push_back(name);
    return v;
  }();
  return kItems;
}

HelpPage contourHelpPage() {
  return {"Help - Contours",
          {
      "The contour feature maps how well the model can fit the observations when two chosen parameters are held "
      "fixed. Over an M x N grid of values of the two parameters (X and Y), DC is run at every grid point and the "
      "weighted sum of squared residuals, Sum(W*Res**2), is recorded as Wres.",
      "At each grid point the two grid parameters are held at their grid values while DC fits the luminosity L1 "
      "of each light curve and two or three other parameters, one at a time, for the chosen number of "
      "iterations. A last DC run gives the point's Wres. A point where DC fails is marked with the value 99; "
      "after the computation a message says how many points failed and why the first one did.",
      "Load a DCI file first. Choose the X and Y parameters, their minimum and maximum values and the number of "
      "points in each direction, then press Test: one DC run is timed and the estimated time of the whole "
      "computation is shown. Press Set Output File to name the data file, then Start Calcs. A progress window "
      "shows the points done and the time left; Cancel stops after the DC runs in progress and writes nothing.",
      "The computation works on a copy of the editor's values taken when Test or Start Calcs is pressed: the "
      "editor, the adjusted parameters, the current files and DC's results stay as they are, whatever is done "
      "meanwhile. Use Best Point puts the values of the grid point with the smallest Wres into the editor, "
      "unsaved.",
      "Parallel runs sets how many DC runs work at the same time, each in its own folder, which also shows the "
      "files lying beside DC (its atmosphere tables); the results are the same as with one. Very large grids can also be split over several computers with tavrin-cli contour "
      "--columns and joined with tavrin-cli contour-merge.",
      "The grid is saved to a text data file that can be reloaded later with Load Data from File, without "
      "running DC again.",
      "Plot Contours refines the grid by the zoom factor and draws it: Contours draws the contour levels between "
      "Min Contour and Max Contour as red dots, Colours draws the colour map from black (lowest Wres) through "
      "blue and green to red, Clear starts again. Moving the mouse over the map shows X, Y and the "
      "interpolated Wres. The File menu exports the picture with a colour scale or prints it.",
          }};
}

const std::vector<std::string>& parameterHelp(int topic) {
  static const std::vector<std::string> kNone;
  const auto& t = topics();
  const auto it = t.find(topic);
  return it == t.end() ? kNone : it->second;
}

const std::vector<int>& parameterHelpTopics() {
  static const std::vector<int> kList = [] {
    std::vector<int> v;
    for (const auto& [k, lines] : topics()) v.push_back(k);
    return v;
  }();
  return kList;
}

const AboutText& aboutText() {
  static const AboutText kAbout{
      "Tavrin",
      "Vers. 5.6a  Revision of 2009-06-27",
      {"A front end for modelling eclipsing binary stars with the LC (Synthex) and DC (Solvex) programs.",
       "The light-curve model uses model atmospheres for the stars' radiation (IFAT1, IFAT2 = 1) as well as "
       "black bodies.",
       "Problems and suggestions: report them to the Tavrin project's issue tracker."}};
  return kAbout;
}

}  // namespace tavrin
