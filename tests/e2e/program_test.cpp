// The built program run as the store runs it: copied into a folder with a
// sistema_vorn.ini, started with a barcode, its produto.txt read byte by byte.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "app/Completa.h"
#include "app/Criptografia.h"
#include "platform/rtl/Text.h"
#include "tests/support/Listeners.h"
#include "tests/support/TestDatabase.h"

namespace {

namespace fs = std::filesystem;
using rtl::Utf16ToUtf8;

struct Outcome {
  int exitCode = -1;
  std::string standardError;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

// Starts program with argv and a small environment, stdin and stdout closed
// off, standard error captured when errPipe is given.
pid_t Spawn(const std::string& program, const std::vector<std::string>& argv,
            const std::vector<std::string>& environment, int errPipe = -1,
            const std::string& folder = "") {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  if (errPipe >= 0) posix_spawn_file_actions_adddup2(&actions, errPipe, 2);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  std::vector<char*> args, env;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  for (const std::string& e : environment) env.push_back(const_cast<char*>(e.c_str()));
  env.push_back(nullptr);
  pid_t pid = -1;
  const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, args.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  return error == 0 ? pid : -1;
}

// A store's program folder: the program copied in, beside it what the test writes.
class Loja {
 public:
  Loja() {
    std::string pattern = (fs::temp_directory_path() / "cz-loja-XXXXXX").string();
    folder_ = mkdtemp(pattern.data());
    fs::copy_file(CZ_PROGRAM, folder_ / "cotacaozelmora");
  }
  ~Loja() { fs::remove_all(folder_); }

  const fs::path& Folder() const { return folder_; }
  fs::path Produto() const { return folder_ / "produto.txt"; }

  void WriteIni(const std::string& content) const {
    std::ofstream(folder_ / "sistema_vorn.ini", std::ios::binary) << content;
  }

  // Runs the program in terminal mode under the given locale.
  Outcome Run(const std::vector<std::string>& arguments, const std::string& locale = "C.UTF-8") const {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return {};
    std::vector<std::string> argv = {(folder_ / "cotacaozelmora").string()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const pid_t pid = Spawn(argv[0], argv, {"PATH=/usr/bin:/bin", "LANG=" + locale}, pipeFds[1]);
    close(pipeFds[1]);
    Outcome outcome;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
      outcome.standardError.append(buffer, n);
    close(pipeFds[0]);
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
      outcome.exitCode = WEXITSTATUS(status);
    return outcome;
  }

  std::optional<std::string> Record() const {
    if (!fs::exists(Produto())) return std::nullopt;
    return ReadFile(Produto());
  }

 private:
  fs::path folder_;
};

std::string Ini(int port, const std::u16string& database, const std::u16string& password,
                const std::string& branch) {
  return "[ip]\r\nlocal=127.0.0.1:" + std::to_string(port) + "\r\ndatabase=" +
         Utf16ToUtf8(database) + "\r\nsenha=" + Utf16ToUtf8(Embaralhar(password, u"KWZ", 0x5A)) +
         "\r\n[FilialMatriz]\r\nCodFisica=" + branch + "\r\n";
}

// Thirteen digits, distinct per id.
std::u16string Barcode(int id) { return u"7890000000" + CompletaEsquerda(rtl::IntToStr(id), u"0", 3); }

const std::string kLookupPrefix =
    "Aten\xc3\xa7\xc3\xa3o: Ocorreram problemas durante a execu\xc3\xa7\xc3\xa3o do "
    "Cota\xc3\xa7\xc3\xa3o Zelmora.\n\nMensagem: ";

const std::string kConnectionFailure =
    "Aten\xc3\xa7\xc3\xa3o: N\xc3\xa3o foi poss\xc3\xadvel conectar ao servidor de banco de "
    "dados.\n\nO arquivo sistema_vorn.ini que est\xc3\xa1 na pasta de instala\xc3\xa7\xc3\xa3o do "
    "Sistema QueltoVorn n\xc3\xa3o \xc3\xa9 o mesmo existente no diret\xc3\xb3rio de "
    "instala\xc3\xa7\xc3\xa3o do Zelmora.\n\nAbra um chamado com o nosso suporte t\xc3\xa9"
    "cnico e informe o conte\xc3\xba" "do desta mensagem.\n";

class ProgramTest : public testdb::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped()) return;
    // Branch 1 quotes without the quote-price flag, branch 2 with it.
    Database().Exec(u"INSERT INTO grupo_preco_filial (filial_id, grupo_preco_id, apagado) "
                    u"VALUES (1, 10, 'N'), (2, 20, 'N'), (1, 11, 'S')");
    Database().Exec(u"INSERT INTO filial_venda (filial_id, tipo_preco_cotacao, apagado) "
                    u"VALUES (1, 0, 'N'), (2, 1, 'N'), (2, 0, 'S')");
  }

  std::string IniFor(const std::string& branch) const {
    return Ini(ServerSettings().Port, Database().Name(), ServerSettings().Password, branch);
  }

  // A product with one price row in group 10 (branch 1) and 20 (branch 2).
  void Product(int id, const std::u16string& barcode, const std::u16string& prices,
               const std::u16string& descricao = u"'PRODUTO'", const std::u16string& labora = u"'LAB'") {
    const std::u16string n = rtl::IntToStr(id);
    Database().Exec(u"INSERT INTO produto (produto_id, descricao, labora, barras) VALUES (" + n +
                    u", " + descricao + u", " + labora + u", '" + barcode + u"')");
    for (const char16_t* group : {u"10", u"20"})
      Database().Exec(u"INSERT INTO grupo_preco_produto (grupo_preco_id, produto_id, preco_vnd, "
                      u"desconto, preco_pro, valid_pro, dtiniciopromocao) VALUES (" +
                      std::u16string(group) + u", " + n + u", " + prices + u")");
  }

  testdb::ScratchDatabase& Database() const { return const_cast<ProgramTest*>(this)->DatabaseTest::Database(); }
};

// The price field (offset 128) for rows given as SQL values.
TEST_F(ProgramTest, PriceRule) {
  static const struct {
    const char16_t* prices;  // preco_vnd, desconto, preco_pro, valid_pro, dtiniciopromocao
    const char* branch1;     // price field without the flag
    const char* branch2;     // with the flag
  } cases[] = {
      // promotion ended yesterday: the discounted sale price twice
      {u"20.00, 10, 15.90, CURDATE() - INTERVAL 1 DAY, CURDATE() - INTERVAL 9 DAY",
       "000000001800" "000000001800" "0", "000000001800" "0" "000000001800"},
      // running: sale price, then promotion price; with the flag the promotion twice
      {u"20.00, 10, 15.90, CURDATE() + INTERVAL 1 DAY, CURDATE() - INTERVAL 1 DAY",
       "000000001800" "000000001590" "0", "000000001590" "0" "000000001590"},
      // both bounds are inside: ends today at 00:00, starts today at 00:00
      {u"20.00, 0, 15.90, CURDATE(), CURDATE()",
       "000000002000" "000000001590" "0", "000000001590" "0" "000000001590"},
      // starting at 08:00 today does not count before tomorrow
      {u"20.00, 0, 15.90, CURDATE() + INTERVAL 1 DAY, CURDATE() + INTERVAL 8 HOUR",
       "000000002000" "000000002000" "0", "000000002000" "0" "000000002000"},
      // no end date: never; no start date with an end ahead: runs
      {u"20.00, 0, 15.90, NULL, CURDATE() - INTERVAL 1 DAY",
       "000000002000" "000000002000" "0", "000000002000" "0" "000000002000"},
      {u"20.00, 0, 15.90, CURDATE() + INTERVAL 1 DAY, NULL",
       "000000002000" "000000001590" "0", "000000001590" "0" "000000001590"},
      // currency keeps four decimals with halves to even, cents round halves up
      {u"1, 0, 0.03125, CURDATE(), NULL",
       "000000000100" "000000000003" "0", "000000000003" "0" "000000000003"},
      {u"1, 0, 0.09375, CURDATE(), NULL",
       "000000000100" "000000000009" "0", "000000000009" "0" "000000000009"},
      {u"12.3456, 0, 0.0050, CURDATE(), NULL",
       "000000001235" "000000000001" "0", "000000000001" "0" "000000000001"},
      {u"12.3449, 0, 0, CURDATE(), NULL",
       "000000001234" "000000000000" "0", "000000000000" "0" "000000000000"},
      // a discount of a third, in double precision: 10 - 10 * (33.3333 / 100)
      {u"10, 33.3333, NULL, NULL, NULL",
       "000000000667" "000000000667" "0", "000000000667" "0" "000000000667"},
  };
  int id = 0;
  for (const auto& c : cases) ++id, Product(id, Barcode(id), c.prices);
  Loja loja;
  id = 0;
  for (const auto& c : cases) {
    const std::string barcode = Utf16ToUtf8(Barcode(++id));
    for (const auto& [branch, expected] : {std::pair{"1", c.branch1}, std::pair{"2", c.branch2}}) {
      loja.WriteIni(IniFor(branch));
      fs::remove(loja.Produto());
      const Outcome outcome = loja.Run({barcode}, "C");
      EXPECT_EQ(outcome.standardError, "");
      const auto record = loja.Record();
      ASSERT_TRUE(record) << Utf16ToUtf8(c.prices) << " branch " << branch;
      EXPECT_EQ(record->substr(128), std::string(expected) + "\r\n")
          << Utf16ToUtf8(c.prices) << " branch " << branch;
    }
  }
}


TEST_F(ProgramTest, RecordLayoutInTheWindowsCodePage) {
  Product(1, u"0000000000789", u"20.00, 10, NULL, NULL, NULL",
          u"'P\u00c3O DE A\u00c7\u00daCAR \u20ac \u4e2d'", u"'123456789012345678901234567890'");
  Loja loja;
  loja.WriteIni(IniFor("1"));
  EXPECT_EQ(loja.Run({"789"}, "C").standardError, "");  // searched as ten zeros and 789
  const std::string expected =
      "789          " +
      std::string("P\xc3O DE A\xc7\xda" "CAR \x80 ?") + std::string(90 - 17, ' ') +
      "1234567890123456789012345" + "000000001800" "000000001800" "0" "\r\n";
  EXPECT_EQ(loja.Record(), expected);
  EXPECT_EQ(expected.size(), 155u);
}

TEST_F(ProgramTest, RecordInAUtf8LocaleStartsWithAByteOrderMarkAndGrowsWithLongTexts) {
  Product(1, u"7891000100103", u"1.5, 0, NULL, NULL, NULL", u"REPEAT('\u00e7', 100)", u"NULL");
  Loja loja;
  loja.WriteIni(IniFor("1"));
  EXPECT_EQ(loja.Run({"78910001001030"}, "C.UTF-8").standardError, "");  // 14 characters: not found
  EXPECT_FALSE(loja.Record());
  EXPECT_EQ(loja.Run({" 7891000100103"}, "C.UTF-8").standardError, "");
  std::string description;
  for (int i = 0; i < 100; ++i) description += "\xc3\xa7";
  EXPECT_EQ(loja.Record(), "\xEF\xBB\xBF 7891000100103" + description + std::string(25, ' ') +
                               "000000000150" "000000000150" "0" "\r\n");
}

TEST_F(ProgramTest, BarcodeTableIsTheFallbackAndDeletedRowsDoNotCount) {
  Product(1, u"7891000100301", u"7.35, 5, NULL, NULL, NULL", u"'SORO'");
  Product(2, u"7891000100400", u"30, 0, NULL, NULL, NULL", u"'APAGADO'");
  Product(3, u"7891000100509", u"9, 0, NULL, NULL, NULL", u"'PELO PROPRIO'");
  Database().Exec(u"UPDATE produto SET apagado = 'S' WHERE produto_id = 2");
  Database().Exec(u"INSERT INTO barras (produto_id, barras, apagado) VALUES "
                  u"(1, '7891000100318', 'N'), (2, '7891000100417', 'N'), (1, '7891000100325', 'S'),"
                  u"(1, '7891000100509', 'N')");
  Loja loja;
  loja.WriteIni(IniFor("1"));
  static const struct {
    const char* barcode;
    const char* description;  // nullptr: not found
  } cases[] = {
      {"7891000100318", "SORO"},          {"7891000100301", "SORO"},
      {"7891000100400", nullptr},         {"7891000100417", nullptr},
      {"7891000100325", nullptr},         {"7891000100509", "PELO PROPRIO"},
  };
  for (const auto& c : cases) {
    fs::remove(loja.Produto());
    EXPECT_EQ(loja.Run({c.barcode}).standardError, "") << c.barcode;
    const auto record = loja.Record();
    if (!c.description) {
      EXPECT_FALSE(record) << c.barcode;
    } else {
      ASSERT_TRUE(record) << c.barcode;
      EXPECT_EQ(record->substr(3 + 13, std::strlen(c.description)), c.description) << c.barcode;
    }
  }
}

TEST_F(ProgramTest, LookupFailuresShowTheirMessageAndKeepTheEarlierFile) {
  Product(1, u"7891000100103", u"NULL, 10, 15.90, NULL, NULL");
  Product(2, u"7891000100202", u"20, 0, NULL, CURDATE(), CURDATE()");
  Product(3, u"7891000100301", u"20, 0, 1, NULL, NULL");
  Database().Exec(u"INSERT INTO grupo_preco_filial (filial_id, grupo_preco_id) VALUES (5, 10), (6, 10)");
  Database().Exec(u"ALTER TABLE filial_venda MODIFY tipo_preco_cotacao VARCHAR(5)");
  Database().Exec(u"INSERT INTO filial_venda (filial_id, tipo_preco_cotacao) VALUES (5, 'S'), (6, 'True')");
  static const struct {
    const char* branch;
    const char* barcode;
    const char* message;  // nullptr: the record is written
  } cases[] = {
      {"1", "7891000100103", "Could not convert variant of type (Null) into type (Currency)"},
      {"1", "7891000100202", "Could not convert variant of type (Null) into type (Currency)"},
      {"3", "7891000100301", nullptr},  // branch 3 has no price group: not found, no message
      {"5", "7891000100301", "Could not convert variant of type (UnicodeString) into type (Integer)"},
      {"6", "7891000100301", nullptr},
  };
  Loja loja;
  for (const auto& c : cases) {
    std::ofstream(loja.Produto(), std::ios::binary) << "earlier";
    loja.WriteIni(IniFor(c.branch));
    const Outcome outcome = loja.Run({c.barcode});
    EXPECT_EQ(outcome.exitCode, 0);
    if (c.message) {
      EXPECT_EQ(outcome.standardError, kLookupPrefix + c.message + "\n") << c.barcode;
      EXPECT_EQ(loja.Record(), "earlier") << c.barcode;
    } else {
      EXPECT_EQ(outcome.standardError, "") << c.branch;
    }
  }
  EXPECT_EQ(loja.Record()->substr(128 + 3), "000000002000" "0" "000000002000\r\n");  // "True" sets the flag

  // A branch without a live sales setting.
  Database().Exec(u"DELETE FROM filial_venda WHERE filial_id = 1");
  loja.WriteIni(IniFor("1"));
  std::ofstream(loja.Produto(), std::ios::binary) << "earlier";
  EXPECT_EQ(loja.Run({"7891000100301"}).standardError,
            kLookupPrefix + "Could not convert variant of type (Null) into type (Integer)\n");
  EXPECT_EQ(loja.Record(), "earlier");
}

TEST_F(ProgramTest, QuotesAndSqlInTheBarcodeFindNothingAndBreakNothing) {
  Product(1, u"7891000100103", u"20, 0, NULL, NULL, NULL");
  Loja loja;
  loja.WriteIni(IniFor("1"));
  for (const std::string& barcode : std::vector<std::string>{"\" OR \"1\"=\"1", "\\", "\" OR produto.barras <> \"", "7891000100103\" -- ",
        std::string(10000, '7'), "'; DROP TABLE produto; --", "\xc3\xa7\xc3\xa3o", "\xff\xfe"}) {
    const Outcome outcome = loja.Run({barcode});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.standardError, "") << barcode.substr(0, 40);
    EXPECT_FALSE(loja.Record()) << barcode.substr(0, 40);
  }
  EXPECT_EQ(loja.Run({"7891000100103"}).standardError, "");
  EXPECT_TRUE(loja.Record());
}

TEST_F(ProgramTest, AFolderThatCannotTakeTheFileGetsTheCreateMessage) {
  Product(1, u"7891000100103", u"20, 0, NULL, NULL, NULL");
  Loja loja;
  loja.WriteIni(IniFor("1"));
  fs::create_directory(loja.Produto());  // even root cannot put a file in its place
  const Outcome outcome = loja.Run({"7891000100103"});
  EXPECT_EQ(outcome.exitCode, 0);
  EXPECT_EQ(outcome.standardError, kLookupPrefix + "Cannot create file \"" +
                                       fs::canonical(loja.Produto()).string() +
                                       "\". Is a directory\n");
  EXPECT_TRUE(fs::is_directory(loja.Produto()));
  EXPECT_EQ(std::distance(fs::directory_iterator(loja.Folder()), fs::directory_iterator()), 3)
      << "no temporary file is left behind";
}

TEST_F(ProgramTest, RunsAtTheSameTimeLeaveOneWholeRecord) {
  Product(1, u"7891000100103", u"20, 0, NULL, NULL, NULL", u"'UM'");
  Product(2, u"7891000100202", u"30, 0, NULL, NULL, NULL", u"'DOIS'");
  Loja loja;
  loja.WriteIni(IniFor("1"));
  for (int round = 0; round < 3; ++round) {
    std::thread other([&] { loja.Run({"7891000100202"}); });
    loja.Run({"7891000100103"});
    other.join();
    const std::string record = *loja.Record();  // UTF-8: a byte-order mark first
    EXPECT_TRUE(record.rfind("\xEF\xBB\xBF" "7891000100103UM ", 0) == 0 ||
                record.rfind("\xEF\xBB\xBF" "7891000100202DOIS ", 0) == 0)
        << record;
    EXPECT_EQ(record.size(), 3u + 155u);
  }
}

TEST_F(ProgramTest, WithoutAnArgumentThirteenZerosAreSearched) {
  Product(1, u"0000000000000", u"20, 0, NULL, NULL, NULL", u"'SEM CODIGO'");
  Loja loja;
  loja.WriteIni(IniFor("1"));
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, std::vector<std::string>{""}, std::vector<std::string>{"  "}}) {
    fs::remove(loja.Produto());
    EXPECT_EQ(loja.Run(arguments, "C").standardError, "");
    const auto record = loja.Record();
    ASSERT_TRUE(record);
    // The record carries the argument as given, filled to 13.
    EXPECT_EQ(record->substr(0, 23), "             SEM CODIGO");
  }
}

// Connection paths: the file of the program's own folder, then the folder of
// a running store program.
class ConnectionPathTest : public ProgramTest {
 protected:
  // Starts a copy of /bin/sleep named name in folder; killed at the end.
  void StartStoreProgram(const fs::path& folder, const std::string& name) {
    fs::create_directories(folder);
    fs::copy_file("/bin/sleep", folder / name);
    const std::string path = (folder / name).string();
    const pid_t pid = Spawn(path, {path, "60"}, {});
    ASSERT_GT(pid, 0);
    children_.push_back(pid);
    // Ready once the kernel shows the copy as the process's executable.
    const fs::path exe = "/proc/" + std::to_string(pid) + "/exe";
    for (int i = 0; i < 500; ++i) {
      std::error_code error;
      if (fs::read_symlink(exe, error) == path) return;
      usleep(10000);
    }
    FAIL() << "store program did not start";
  }

  void TearDown() override {
    for (pid_t pid : children_) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    ProgramTest::TearDown();
  }

 private:
  std::vector<pid_t> children_;
};

TEST_F(ConnectionPathTest, NoFileAnywhereGivesTheConnectionMessage) {
  Loja loja;
  const Outcome outcome = loja.Run({"7891000100103"});
  EXPECT_EQ(outcome.exitCode, 0);
  EXPECT_EQ(outcome.standardError, kConnectionFailure);
  EXPECT_FALSE(loja.Record());
}

TEST_F(ConnectionPathTest, RefusedOwnFileFallsBackToTheRunningStoreProgram) {
  Product(1, u"7891000100103", u"20, 0, NULL, NULL, NULL");
  Loja loja;
  // Own file: wrong password, but the branch code is still read from it.
  loja.WriteIni(Ini(ServerSettings().Port, Database().Name(), u"wrong", "2"));
  Loja sistema;  // any folder will do for the store program
  StartStoreProgram(sistema.Folder() / "dcl", "PracelDCL.exe");
  StartStoreProgram(sistema.Folder() / "pracel", "Pracel.exe");
  std::ofstream(sistema.Folder() / "pracel" / "sistema_vorn.ini") << IniFor("9");
  const Outcome outcome = loja.Run({"7891000100103"});
  EXPECT_EQ(outcome.standardError, "");
  ASSERT_TRUE(loja.Record());
  EXPECT_EQ(loja.Record()->substr(3 + 128), "000000002000" "0" "000000002000\r\n");  // branch 2
}

TEST_F(ConnectionPathTest, OnlyTheFirstReadableStoreFolderIsTried) {
  Product(1, u"7891000100103", u"20, 0, NULL, NULL, NULL");
  Loja loja;  // no file of its own
  Loja sistema;
  StartStoreProgram(sistema.Folder() / "vorn", "SistemaVorn.exe");
  std::ofstream(sistema.Folder() / "vorn" / "sistema_vorn.ini") << IniFor("1");
  // With the only store program's file: connected, but the branch is -1.
  Outcome outcome = loja.Run({"7891000100103"});
  EXPECT_EQ(outcome.standardError, "");
  EXPECT_FALSE(loja.Record());

  // A PracelDCL.exe whose file refuses wins over SistemaVorn.exe: no second try.
  StartStoreProgram(sistema.Folder() / "dcl", "PracelDCL.exe");
  std::ofstream(sistema.Folder() / "dcl" / "sistema_vorn.ini")
      << Ini(ServerSettings().Port, Database().Name(), u"wrong", "1");
  outcome = loja.Run({"7891000100103"});
  EXPECT_EQ(outcome.standardError, kConnectionFailure);
}

TEST_F(ConnectionPathTest, SilentServerEndsWithTheConnectionMessage) {
  const testsupport::SilentServer silent;
  Loja loja;
  loja.WriteIni(Ini(silent.Port(), u"gerente", u"x", "1"));
  const Outcome outcome = loja.Run({"7891000100103"});
  EXPECT_EQ(outcome.exitCode, 0);
  EXPECT_EQ(outcome.standardError, kConnectionFailure);
}

TEST_F(ConnectionPathTest, BadPasswordTextsCountAsNotConnected) {
  Loja loja;
  const std::string head = "[ip]\nlocal=127.0.0.1:" + std::to_string(ServerSettings().Port) +
                           "\ndatabase=" + Utf16ToUtf8(Database().Name()) + "\n";
  for (const char* senha : {"senha=XYZ\n", "senha=3CD\n", "senha=\n", ""}) {
    loja.WriteIni(head + senha);
    EXPECT_EQ(loja.Run({"1"}).standardError, kConnectionFailure) << senha;
  }
}
}  // namespace
