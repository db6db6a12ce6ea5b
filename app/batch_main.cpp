// kolvedir-batch: runs one batch job of any module on a working object from
// the command line, with the same engine as the windowed program.
#include <signal.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <new>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/terminal_progress.h"
#include "engine/atomic_file.h"
#include "engine/crs_names.h"
#include "engine/job.h"
#include "engine/program_places.h"
#include "engine/record_blocks.h"
#include "engine/run_report.h"
#include "engine/system_names.h"
#include "engine/text_encoding.h"
#include "grid/model_grid.h"
#include "io/format_jobs.h"
#include "kolvedir/version.h"

namespace {

using namespace kolvedir;

constexpr int kExitCompleted = 0;
constexpr int kExitJobFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kPointMessagesShown = 10;

const char* const kDescription =
    R"(Przelicza zbiór punktów tak jak "Wykonaj obliczenia": standardowy zbiór obiektu
roboczego albo dowolny plik lub strumień.

  kolvedir-batch --object KATALOG | --input PLIK [--output PLIK | --output-dir KATALOG]
                 --from NAZWA [--from-zone S] [--from-frame ODNIESIENIE]
                 --to NAZWA [--to-zone S] [--to-frame ODNIESIENIE]
                 [--method empirical|theoretical] [--bl-in dms|deg] [--bl-out dms|deg]
                 [--seconds-decimals 6|5|4] [--linear-decimals 4|3|2]
                 [--encoding auto|cp1250|utf-8] [--grid PLIK] [--threads N] [--quiet]

NAZWA to standardowa nazwa zbioru układu, kod EPSG (EPSG:2177) albo nazwa
zwyczajowa (PL-2000/18, PUWG 1992, 1965 strefa III; --list-systems pokazuje
tabelę); z nazw wynika moduł:
  TRANS 2D/3D, PL-ETRF2000 lub PL-ETRF89: xy2000 (strefa 15, 18, 21, 24), xy92,
      UTM (strefa 15, 21), BLH_GRS, XYZ_GRS
  TRANS 2D/3D, PULKOWO (domyślnie): xy65 (strefa 1-5 układu 1965), xy42_3
      i xy42_83_3 (strefa 15, 18, 21, 24), xy42_6 i xy42_83_6 (strefa 15, 21),
      xyTARVO80, BLH_KRA, XYZ_KRA
  TRANS-H: BLH_K86, BLH_K2006, BLH_EVRF
  quasigeoida: BL (anomalia, zapisuje BLn.1), BLH_e (zapisuje BLH_n.1), BLH_n
      (zapisuje BLH_e.1); --to można pominąć; --from-frame PL-ETRF2000 lub
      PL-ETRF89 to układ wysokości elipsoidalnych.
--to przyjmuje nazwę wynikową z ".1" lub bez. Brak strefy lub układu
odniesienia zgłasza zadanie swoim komunikatem; strefa spoza stref układu
i nieznana nazwa to błędy wywołania.

Zbiory:
  --object KATALOG      czyta KATALOG/NAZWA i zapisuje KATALOG/<wynik>.1
  --input PLIK --output PLIK
                        czyta i zapisuje dowolne pliki; "-" to standardowe
                        wejście lub wyjście, np.
                        kolvedir-batch ... --input - --output - < we.txt > wy.txt
  --input A --input B ... --output-dir KATALOG
                        kilka zbiorów jednym wywołaniem (siatka czytana raz);
                        wynik każdego to KATALOG/<nazwa zbioru>.1

Wcześniejszy zbiór wynikowy jest zastępowany tylko po udanym zadaniu. Wynik
na standardowe wyjście płynie na bieżąco: zadanie przerwane w połowie mówi
o tym na standardowym wyjściu błędów i kończy się statusem 1.

Kodowanie (--encoding, domyślnie auto): zbiór zaczynający się znacznikiem
kolejności bajtów UTF-8 albo poprawny w UTF-8 i zawierający znaki spoza ASCII
jest w UTF-8, każdy inny w Windows-1250; wynik, z opisami rekordów, jest
w kodowaniu zbioru wejściowego, a znacznik zostaje zachowany. Zbiór
niepoprawny w UTF-8 przy --encoding utf-8 jest odrzucany.

Siatka to PL_grid_001.bin z katalogu programu, chyba że --grid wskazuje inny plik.
Program zainstalowany (np. z pakietu) szuka jej najpierw w katalogu danych
użytkownika ($XDG_DATA_HOME/kolvedir, domyślnie ~/.local/share/kolvedir), potem
w katalogu danych programu (<prefiks>/share/kolvedir). Ścieżkę siatki w użyciu
program podaje na standardowym wyjściu błędów.

Dane GIS (--input-format, domyślnie auto: po rozszerzeniu zbioru):
  csv   tekst rozdzielany (.csv, .tsv) z wierszem nagłówka; --columns
        id=Nr,x=X,y=Y wskazuje kolumny nazwą lub numerem (klucze x, y; B, L, h;
        X, Y, Z), --delimiter ",", ";" lub tab (domyślnie wykryty); pozostałe
        kolumny przechodzą bez zmian, po nich kolumny wyliczone, status i message
  gis   warstwy GDAL (.gpkg, .shp, .geojson, .dxf, .fgb); --layer NAZWA,
        --output-format STEROWNIK (domyślnie z rozszerzenia wyniku),
        --skip-failures pomija obiekty z błędnym wierzchołkiem (liczone);
        --from można pominąć, gdy układ warstwy jest w tabeli
  points zbiór punktów programu

Wyjście: wiersze monitora zakończonego zadania na standardowe wyjście (przy
--output - na standardowe wyjście błędów); komunikaty zadania i pierwszych
dziesięciu błędnych punktów, potem ich liczba, na standardowe wyjście błędów.
Program o nic nie pyta. Na terminalu wiersz na standardowym wyjściu błędów
pokazuje postęp zadania; --quiet go wyłącza.

Ctrl+C przerywa zadanie po bieżącym bloku rekordów: zbiór wynikowy nie jest
zmieniany, monitor mówi, ile punktów przeliczono, kolejne zbiory wejściowe
nie są już przeliczane, a program kończy się sygnałem przerwania (w powłoce
status 130); drugie Ctrl+C kończy go od razu.

Status wyjścia: 0 zadanie doszło do końca (błędne punkty są policzone
w wierszu wyniku), 1 zadanie odrzucone lub nieudane albo wiersze monitora nie dały się
wypisać, 2 błąd wywołania.)";

// A message on standard error. Point names and paths in it may hold control
// characters: they are shown escaped, never sent to the terminal.
void PrintError(std::string_view text) { std::cerr << EscapeControlCharacters(text) << '\n'; }

// Set by the first Ctrl+C: the job stops at its next block of records.
volatile std::sig_atomic_t interrupted = 0;

// The engine's dialogs on the standard streams; point questions are answered
// No; progress on the terminal; Ctrl+C stops the job.
class StreamUserInterface : public JobUserInterface {
 public:
  explicit StreamUserInterface(bool showProgress) : progress_(showProgress) {}

  void ShowInformation(const std::string& text) override { Say(text); }
  void ShowMessage(const std::string& text) override { Say(text); }
  bool AskPointQuestion(const std::string& text) override {
    if (++pointMessages_ <= kPointMessagesShown) Say(text);
    return false;
  }
  void SetMonitorLine(int line, const std::string& text) override { monitor_.SetLine(line, text); }
  void MarkFilePanels(Module) override {}
  void SetStatusText(int, const std::string&) override {}
  void ShowProgress(std::uint64_t done, std::uint64_t total) override {
    progress_.Show(done, total);
  }
  bool StopRequested() override { return interrupted != 0; }

  // The count of the point messages not shown, then the monitor up to
  // lastLine on report; ready for the next job.
  void FinishJob(int lastLine, std::ostream& report) {
    progress_.Clear();
    if (pointMessages_ > kPointMessagesShown) {
      std::cerr << "... jeszcze " << pointMessages_ - kPointMessagesShown
                << " komunikatów o punktach (razem " << pointMessages_ << ")\n";
    }
    pointMessages_ = 0;
    const auto& lines = monitor_.Lines();
    const int last = std::min(lastLine, static_cast<int>(lines.size()) - 1);
    for (int i = 0; i <= last; ++i) report << lines[i] << '\n';
  }

 private:
  void Say(const std::string& text) {
    progress_.Clear();
    PrintError(text);
  }

  Monitor monitor_;
  TerminalProgress progress_;
  int pointMessages_ = 0;
};

struct Options {
  std::filesystem::path object, outputDir;
  std::vector<std::string> inputs;
  std::optional<std::string> output;
  JobNames names;
  std::string blIn = "dms", blOut = "dms", encoding = "auto";
  int secondsDecimals = 6, linearDecimals = 4;
  std::string threads = "0";  // 0: every core
  bool quiet = false, listSystems = false, skipFailures = false;
  std::string inputFormat = "auto", delimiter, columns, layer, outputFormat;
  std::optional<std::filesystem::path> grid;
};

struct UsageError {
  std::string text;
};

constexpr std::string_view kStandardStream = "-";

BlFormat BlFormatOption(const std::string& option) {
  return option == "dms" ? BlFormat::kDegreesMinutesSeconds : BlFormat::kDecimalDegrees;
}

JobDescription Describe(const Options& o) {
  NamedJob named = DescribeJob(o.names);
  if (!named.refusal.empty()) throw UsageError{named.refusal};
  JobDescription& job = named.job;
  job.BLInputFormat = BlFormatOption(o.blIn);
  job.BLOutputFormat = BlFormatOption(o.blOut);
  job.SecondsDecimals = o.secondsDecimals;
  job.LinearDecimals = o.linearDecimals;
  return job;
}

int ThreadsOption(const std::string& text) {
  const ThreadCount count = ReadThreadCount(text);
  if (!count.refusal.empty()) throw UsageError{count.refusal};
  return count.threads;
}

void Handle(int signal, void (*handler)(int), int flags) {
  struct sigaction action {};
  action.sa_handler = handler;
  action.sa_flags = flags;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal, &action, nullptr);
}

// SIGTERM, SIGHUP and a second Ctrl+C: the unfinished result leaves no file
// behind, then the signal ends the runner as it would have.
void RemoveUnfinishedFilesAndEnd(int signal) {
  RemoveUnfinishedFiles();
  ::raise(signal);  // delivered with the default action once the handler returns
}

// The first Ctrl+C asks the job to stop; reads and writes under way go on
// (SA_RESTART), so the job ends as the window's "Przerwij" ends it.
void StopJob(int) {
  interrupted = 1;
  Handle(SIGINT, RemoveUnfinishedFilesAndEnd, SA_RESETHAND);
}

void HandleTerminationSignals() {
  Handle(SIGINT, StopJob, SA_RESTART);
  for (int signal : {SIGTERM, SIGHUP}) Handle(signal, RemoveUnfinishedFilesAndEnd, SA_RESETHAND);
}

// A job stopped by Ctrl+C ends the runner by SIGINT, so that a calling shell
// or script stops as well.
void EndByInterrupt() {
  Handle(SIGINT, SIG_DFL, 0);
  ::raise(SIGINT);
}

TextEncoding EncodingOption(const std::string& option) {
  if (option == "cp1250") return TextEncoding::kWindows1250;
  if (option == "utf-8") return TextEncoding::kUtf8;
  return TextEncoding::kAuto;
}

std::filesystem::path StreamOrPath(std::string_view name) {
  return name == kStandardStream ? std::filesystem::path() : std::filesystem::path(name);
}

// The input and result of every job of a file run, in order.
std::vector<JobFiles> FileJobs(const Options& o) {
  if (o.inputs.size() > 1 && o.output)
    throw UsageError{"przy kilku zbiorach --input wyniki wskazuje --output-dir"};
  if (o.output.has_value() == !o.outputDir.empty())
    throw UsageError{"--input wymaga --output albo --output-dir"};
  std::vector<JobFiles> jobs;
  std::set<std::filesystem::path> resultNames;
  for (const std::string& input : o.inputs) {
    JobFiles files{StreamOrPath(input), {}, EncodingOption(o.encoding)};
    if (o.output) {
      files.output = StreamOrPath(*o.output);
    } else {
      const std::filesystem::path name = std::filesystem::path(input).filename();
      if (input == kStandardStream || name.empty())
        throw UsageError{"--output-dir: zbiór " + input + " nie ma nazwy pliku"};
      if (!resultNames.insert(name).second)
        throw UsageError{"--output-dir: dwa zbiory o nazwie " + name.string()};
      files.output = o.outputDir / (name.string() + ".1");
    }
    jobs.push_back(std::move(files));
  }
  return jobs;
}

void CheckForms(const Options& o) {
  if (!o.object.empty() && !o.inputs.empty())
    throw UsageError{"--object i --input wykluczają się"};
  if (o.object.empty() && o.inputs.empty())
    throw UsageError{"potrzebna jest opcja --object KATALOG albo --input PLIK"};
  if (!o.object.empty() && (o.output || !o.outputDir.empty() || o.encoding != "auto"))
    throw UsageError{"--output, --output-dir i --encoding dotyczą tylko --input"};
}

// The first option a CLI11 error text names, followed by ": "; empty when none.
std::string NamedOption(const std::string& what) {
  const std::size_t start = what.find("--");
  if (start == std::string::npos) return {};
  return what.substr(start, what.find_first_of(" =:", start) - start) + ": ";
}

// Error texts of CLI11 in Polish; the option, where CLI11 names one, leads.
std::string ParseErrorText(const CLI::App*, const CLI::Error& e) {
  const std::string what = e.what();
  std::string text;
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&e)) {
    text = NamedOption(what) + "brak wartości albo za dużo wartości";
  } else if (dynamic_cast<const CLI::ValidationError*>(&e)) {
    text = what;  // the validators below speak Polish
  } else if (dynamic_cast<const CLI::ConversionError*>(&e)) {
    text = NamedOption(what) + "niepoprawna wartość";
  } else {
    text = "błędne wywołanie (" + what + ")";
  }
  return "kolvedir-batch: " + text + "\nWięcej: kolvedir-batch --help\n";
}

// Arguments no option took: the first unknown option, as typed, is refused,
// else the first stray argument.
void RejectExtras(const std::vector<std::string>& extras) {
  if (extras.empty()) return;
  const auto option = std::ranges::find_if(
      extras, [](const std::string& a) { return a.size() > 1 && a.front() == '-'; });
  if (option == extras.end()) throw UsageError{"nieoczekiwany argument " + extras.front()};
  throw UsageError{"nieznana opcja " + option->substr(0, option->find('='))};
}

// The values an option takes, as help shows them: "a|b|c".
template <typename Values>
std::string Alternatives(const Values& values) {
  std::string list;
  for (std::string_view v : values) list += (list.empty() ? "" : "|") + std::string(v);
  return list;
}

// Lets option take one of values only, refused in Polish; help shows them.
CLI::Option* OneOf(CLI::Option* option, std::vector<std::string> values) {
  const std::string list = Alternatives(values);
  option->type_name(list);
  return option->check(CLI::Validator(
      [values, list](std::string& value) {
        return std::find(values.begin(), values.end(), value) != values.end()
                   ? std::string()
                   : value + " nie jest jedną z wartości " + list;
      },
      ""));
}

void Declare(CLI::App& app, Options& o) {
  app.option_defaults()->group("Opcje");
  app.set_help_flag("-h,--help", "pokazuje ten opis i kończy");
  app.set_version_flag("--version", "kolvedir-batch " KOLVEDIR_VERSION, "pokazuje wersję i kończy");
  const auto formatter = app.get_formatter();
  formatter->column_width(32);
  formatter->label("Usage", "Wywołanie");
  formatter->label("OPTIONS", "OPCJE");
  app.add_option("--object", o.object, "katalog obiektu roboczego")->type_name("KATALOG");
  app.add_option("--input", o.inputs, "zbiór wejściowy, \"-\" to standardowe wejście")
      ->type_name("PLIK");
  app.add_option("--output", o.output, "zbiór wynikowy, \"-\" to standardowe wyjście")
      ->type_name("PLIK");
  app.add_option("--output-dir", o.outputDir, "katalog wyników kilku zbiorów")
      ->type_name("KATALOG");
  OneOf(app.add_option("--encoding", o.encoding, "kodowanie zbioru wejściowego (domyślnie auto)"),
        {"auto", "cp1250", "utf-8"});
  // Names, zones, frames and method are taken as typed and judged with the job.
  JobNames& names = o.names;
  const std::string frames = Alternatives(kFrameNames);
  app.add_option("--from", names.source,
                 "układ wejściowy: nazwa zbioru, kod EPSG lub nazwa zwyczajowa")
      ->type_name("NAZWA");
  app.add_option("--from-zone", names.sourceZone,
                 "strefa wejściowa: południk osiowy lub strefa 1965")
      ->type_name("S");
  app.add_option("--from-frame", names.sourceFrame, "układ odniesienia na wejściu")
      ->type_name(frames);
  app.add_option("--to", names.target,
                 "układ wynikowy: nazwa (z \".1\" lub bez), kod EPSG lub nazwa zwyczajowa")
      ->type_name("NAZWA");
  app.add_option("--to-zone", names.targetZone, "strefa wynikowa: południk osiowy lub strefa 1965")
      ->type_name("S");
  app.add_option("--to-frame", names.targetFrame, "układ odniesienia na wyjściu")
      ->type_name(frames);
  app.add_option("--method", names.method, "metoda TRANS 2D/3D (domyślnie empirical)")
      ->type_name(Alternatives(kMethodNames));
  OneOf(app.add_option("--bl-in", o.blIn, "format BL na wejściu (domyślnie dms)"), {"dms", "deg"});
  OneOf(app.add_option("--bl-out", o.blOut, "format BL na wyjściu (domyślnie dms)"), {"dms", "deg"});
  OneOf(app.add_option("--seconds-decimals", o.secondsDecimals,
                       "miejsca po przecinku sekund (domyślnie 6)"),
        {"6", "5", "4"});
  OneOf(app.add_option("--linear-decimals", o.linearDecimals,
                       "miejsca po przecinku metrów (domyślnie 4)"),
        {"4", "3", "2"});
  app.add_option("--grid", o.grid, "siatka zamiast PL_grid_001.bin programu")
      ->type_name("PLIK");
  app.add_option("--threads", o.threads, "liczba wątków obliczeń (domyślnie 0: wszystkie rdzenie)")
      ->type_name("N");
  app.add_flag("--quiet", o.quiet, "bez wiersza postępu na terminalu");
  app.add_flag("--list-systems", o.listSystems, "pokazuje układy programu i ich kody EPSG");
  OneOf(app.add_option("--input-format", o.inputFormat, "rodzaj zbioru (domyślnie auto)"),
        {"auto", "points", "csv", "gis"});
  OneOf(app.add_option("--delimiter", o.delimiter, "separator pól CSV (domyślnie wykryty)"),
        {",", ";", "tab"});
  app.add_option("--columns", o.columns, "kolumny punktów CSV, np. id=Nr,x=X,y=Y")
      ->type_name("KLUCZ=KOLUMNA,...");
  app.add_option("--layer", o.layer, "jedyna warstwa GIS do przeliczenia")->type_name("NAZWA");
  app.add_option("--output-format", o.outputFormat, "sterownik GDAL wyniku, np. GPKG")
      ->type_name("STEROWNIK");
  app.add_flag("--skip-failures", o.skipFailures, "pomija obiekty GIS z błędnym wierzchołkiem");
}

// --from left out takes the system of a GIS input layer.
void SourceFromLayer(Options& o) {
  JobNames& n = o.names;
  if (!n.source.empty() || o.inputs.size() != 1 ||
      InputFormatOf(o.inputFormat, o.inputs.front()) != InputFormat::kGisLayers)
    return;
  std::string refusal;
  const CrsRow* row = SourceOfLayer(o.inputs.front(), o.layer, refusal);
  if (row == nullptr) throw UsageError{refusal};
  n.source = row->system;
  if (n.sourceZone.empty() && row->zone != 0) n.sourceZone = std::to_string(row->zone);
  if (n.sourceFrame.empty()) n.sourceFrame = FrameOptionName(row->frame);
}

// The transformer of the names, for the jobs on delimited text and GIS layers.
TransformerDescription TransformerNames(const Options& o, const std::filesystem::path& grid) {
  const JobNames& n = o.names;
  return {n.source, n.sourceZone, n.sourceFrame, n.target, n.targetZone, n.targetFrame, n.method,
          grid.string()};
}

// threads: of the record loops, every core resolved.
FormatOptions FormatOptionsOf(const Options& o, int threads) {
  FormatOptions f;
  f.text.delimiter = o.delimiter == "tab" ? '\t' : o.delimiter.empty() ? 0 : o.delimiter.front();
  f.text.columns = o.columns;
  f.text.threads = threads;
  f.gis = {o.layer, o.outputFormat, o.skipFailures, threads};
  return f;
}

// The job on the working object, as the window runs it.
JobOutcome RunObjectJob(JobDescription& job, const Options& o,
                        const std::filesystem::path& gridFile, StreamUserInterface& ui) {
  const std::filesystem::path object = o.object.lexically_normal();
  const std::filesystem::path folder =
      object.has_filename() ? object : object.parent_path();  // "DIR/" names DIR
  JobCounters counters;
  const JobOutcome outcome = RunJob(
      job, folder.parent_path(), folder.filename().string(),
      kSecondsPrecisionItems[(6 - o.secondsDecimals)], kLinearPrecisionItems[4 - o.linearDecimals],
      gridFile, counters, ui);
  ui.FinishJob(counters.MonitorLine, std::cout);
  return outcome;
}

// Every input in turn with the grid read once, until one is stopped; with
// several inputs each monitor is headed by the input's name. kCompleted when
// every job completed, else the outcome of the last job that did not.
JobOutcome RunFileJobs(JobDescription& job, const std::vector<JobFiles>& jobs, JobGrid grid,
                       const Options& o, StreamUserInterface& ui) {
  JobOutcome result = JobOutcome::kCompleted;
  for (const JobFiles& files : jobs) {
    // A Ctrl+C after the last block of the job before, while its result went
    // to the disk, starts no further job.
    if (&files != &jobs.front() && ui.StopRequested()) return JobOutcome::kStopped;
    std::ostream& report = files.output.empty() ? std::cerr : std::cout;
    if (jobs.size() > 1) report << "Zbiór wejściowy: " << InputText(files) << '\n';
    JobCounters counters;
    const InputFormat format = InputFormatOf(o.inputFormat, files.input);
    const JobOutcome outcome =
        format == InputFormat::kPointRecords
            ? RunJobOnFiles(job, files, grid, counters, ui)
            : RunFormatJob(format, job, TransformerNames(o, grid.file), files,
                           FormatOptionsOf(o, RecordThreads()), counters, ui);
    ui.FinishJob(counters.MonitorLine, report);
    if (outcome != JobOutcome::kCompleted) result = outcome;
    if (outcome == JobOutcome::kStopped) break;
  }
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{kDescription, "kolvedir-batch"};
  Options o;
  Declare(app, o);
  app.failure_message(ParseErrorText);
  app.allow_extras();
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {  // --help, --version
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  }

  if (o.listSystems) {
    std::cout << CrsTableText();
    return std::cout.flush() ? kExitCompleted : kExitJobFailed;
  }
  JobDescription job;
  std::vector<JobFiles> jobs;
  int threads = 0;
  try {
    RejectExtras(app.remaining());
    CheckForms(o);
    if (!o.inputs.empty()) jobs = FileJobs(o);
    threads = ThreadsOption(o.threads);
    SourceFromLayer(o);
    job = Describe(o);
  } catch (const UsageError& e) {
    PrintError("kolvedir-batch: " + e.text);
    PrintError("Więcej: kolvedir-batch --help");
    return kExitUsage;
  }

  const std::filesystem::path gridFile = o.grid ? *o.grid : GridInUse(PlacesOfThisPart());
  // Told once: the jobs on files take the answer instead of reading the grid again.
  const JobGrid grid{gridFile, false, IsModelGrid(gridFile)};
  // The grid a job reads is named, and a model grid said to be one; a refused
  // job reads none, and a missing grid is named by the job's own message.
  std::error_code ignored;
  if (!JobRefusal(job) && std::filesystem::exists(gridFile, ignored)) {
    PrintError(GridInUseText(gridFile));
    if (*grid.model) std::cerr << ModelGridNotice() << '\n';
  }

  SetRecordThreads(threads);
  StreamUserInterface ui(!o.quiet && ::isatty(STDERR_FILENO));
  HandleTerminationSignals();
  JobOutcome outcome = JobOutcome::kFailed;
  try {
    outcome = jobs.empty() ? RunObjectJob(job, o, gridFile, ui) : RunFileJobs(job, jobs, grid, o, ui);
  } catch (const std::bad_alloc&) {
    // The job's files are closed and its temporary result removed on the way here.
    PrintError(kOutOfMemoryMessage);
    return kExitJobFailed;
  }
  if (!std::cout.flush()) {
    PrintError("kolvedir-batch: wiersze monitora nie dały się wypisać na standardowe wyjście");
    return kExitJobFailed;
  }
  if (outcome == JobOutcome::kStopped) EndByInterrupt();
  return outcome == JobOutcome::kCompleted ? kExitCompleted : kExitJobFailed;
}
